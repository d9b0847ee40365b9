#include "app/CheckMode.h"

#include "app/CommandLine.h"
#include "deck/SiteCheckRun.h"
#include "document/EncodingDetection.h"
#include "document/FileReading.h"
#include "platform/Product.h"
#include "wml/ParsedDeck.h"
#include "wml/SarifLog.h"
#include "wml/agent/PhoneDisplays.h"
#include "wml/check/CompiledBudget.h"
#include "wml/check/DeckChecker.h"
#include "wml/script/ScriptCompiler.h"
#include "wml/wbxml/DeckCompiler.h"

#include <QFileInfo>

#include <algorithm>

namespace tessera {

namespace {
// Larger than any deck or unit a phone takes.
constexpr qint64 kLargestDeck = 64 * 1024 * 1024;
} // namespace

QList<wml::Finding> checkDeckFile(const QString& name, const QByteArray& bytes, int budget) {
  // Decoded as the editor opens it; the checker counts lines by LF.
  QString text = decodeFile(bytes).text;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  const wml::ParsedDeck parsed = wml::parseDeck(text);
  QList<wml::Finding> findings = wml::check::checkParsedDeck(parsed, {name});
  if (budget <= 0)
    return findings;
  const wml::wbxml::CompiledDeck compiled = wml::wbxml::compileParsedDeck(parsed, text);
  if (!compiled.ok)
    return findings;
  if (std::optional<wml::Finding> over =
          wml::check::budgetFinding(parsed, int(compiled.bytes.size()), budget)) {
    over->severity = wml::Severity::Error;
    findings.append(*over);
    wml::sortByPosition(findings);
  }
  return findings;
}

void printFindings(QTextStream& stream, const QString& name, const QList<wml::Finding>& findings) {
  for (const wml::Finding& finding : findings)
    stream << name << ':' << finding.start.line << ':' << finding.start.column << ": "
           << wml::severityName(finding.severity) << ": " << finding.message
           << (finding.rule.isEmpty() ? QString() : QStringLiteral(" [%1]").arg(finding.rule))
           << '\n';
  stream.flush();
}

std::optional<int> budgetOption(const ModeContext& context, int* status) {
  if (!context.parser.isSet(QStringLiteral("budget")))
    return 0;
  const QString word = context.parser.value(QStringLiteral("budget"));
  bool number = false;
  const int bytes = word.toInt(&number);
  if (number && bytes > 0)
    return bytes;
  *status = context.usageError(
      QStringLiteral("--budget %1: expected a number of bytes above 0").arg(word));
  return std::nullopt;
}

namespace {

// "site" + "news/a.wml" is "site/news/a.wml"; "site/" gives the same.
QString joined(const QString& folder, const QString& inside) {
  if (inside.isEmpty())
    return folder;
  return folder.endsWith(u'/') ? folder + inside : folder + u'/' + inside;
}

void printText(const QList<wml::PlacedFinding>& found, QTextStream& out) {
  for (const wml::PlacedFinding& placed : found) {
    const wml::Finding& finding = placed.finding;
    out << placed.file << ':';
    if (finding.start.known())
      out << finding.start.line << ':' << finding.start.column << ':';
    out << ' ' << wml::severityName(finding.severity) << ": " << finding.message
        << (finding.rule.isEmpty() ? QString() : QStringLiteral(" [%1]").arg(finding.rule)) << '\n';
  }
}

struct SiteSettings {
  int profile = wml::agent::kDefaultPhoneDisplay;
  QString entry = QStringLiteral("index.wml");
  bool sarif = false;
};

std::optional<SiteSettings> siteSettings(const ModeContext& context, int* status) {
  SiteSettings settings;
  const QCommandLineParser& parser = context.parser;
  if (parser.isSet(QStringLiteral("profile"))) {
    const QString name = parser.value(QStringLiteral("profile"));
    settings.profile = wml::agent::phoneDisplayNamed(name);
    if (settings.profile < 0) {
      QStringList names;
      for (const wml::agent::PhoneDisplay& display : wml::agent::phoneDisplays())
        names.append(display.name);
      *status = context.usageError(QStringLiteral("--profile %1: expected one of %2")
                                       .arg(name, names.join(QStringLiteral(", "))));
      return std::nullopt;
    }
  }
  if (parser.isSet(QStringLiteral("entry")))
    settings.entry = parser.value(QStringLiteral("entry"));
  if (parser.isSet(QStringLiteral("format"))) {
    const QString format = parser.value(QStringLiteral("format"));
    if (format != QLatin1String("text") && format != QLatin1String("sarif")) {
      *status =
          context.usageError(QStringLiteral("--format %1: expected text or sarif").arg(format));
      return std::nullopt;
    }
    settings.sarif = format == QLatin1String("sarif");
  }
  return settings;
}

} // namespace

int runCheckMode(const ModeContext& context) {
  const QStringList paths = context.operands();
  if (paths.isEmpty())
    return context.usageError(QStringLiteral("--check needs at least one file or folder"));
  int status = kExitUsage;
  const std::optional<int> budget = budgetOption(context, &status);
  if (!budget)
    return status;
  const std::optional<SiteSettings> settings = siteSettings(context, &status);
  if (!settings)
    return status;
  bool unreadable = false;
  QList<wml::PlacedFinding> found;
  for (const QString& path : paths) {
    if (QFileInfo(path).isDir()) {
      SiteCheckRequest request;
      request.folder = path;
      request.budget = *budget;
      request.options.entry = settings->entry;
      request.options.screen = wml::agent::phoneDisplays()[size_t(settings->profile)].size;
      const SiteCheckResult result = checkSiteFolder(request);
      if (!result.error.isEmpty()) {
        context.err << "tessera: cannot read " << path << ": " << result.error << '\n';
        unreadable = true;
        continue;
      }
      for (wml::site::SiteFinding site : result.findings) {
        // Over the budget given on the command line is an error, as for a
        // single deck: a build should fail on it.
        if (site.finding.rule == QLatin1String("over-budget"))
          site.finding.severity = wml::Severity::Error;
        found.append({joined(path, site.path), site.finding});
      }
      context.err << path << ": " << result.summary() << '\n';
      continue;
    }
    const FileReadResult read = readAtMost(path, kLargestDeck);
    if (read.status != FileReadResult::Read) {
      context.err << "tessera: cannot read " << path << ": "
                  << (read.status == FileReadResult::TooLarge ? QStringLiteral("too large")
                                                              : read.reason)
                  << '\n';
      unreadable = true;
      continue;
    }
    const QList<wml::Finding> findings =
        wml::script::isScriptFileName(path)
            ? wml::script::compileScript(decodeSourceText(read.bytes)).findings
            : checkDeckFile(path, read.bytes, *budget);
    for (const wml::Finding& finding : findings)
      found.append({path, finding});
  }
  if (settings->sarif)
    context.out << QString::fromUtf8(
        wml::sarifLog(found, {QStringLiteral("tessera"), kProgramVersion, kProductWebAddress}));
  else
    printText(found, context.out);
  context.out.flush();
  context.err.flush();
  const bool errors = std::any_of(found.begin(), found.end(), [](const wml::PlacedFinding& p) {
    return p.finding.severity == wml::Severity::Error;
  });
  return unreadable ? kExitUsage : errors ? kExitFindings : kExitClean;
}

} // namespace tessera
