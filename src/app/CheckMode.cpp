#include "app/CheckMode.h"

#include "app/CommandLine.h"
#include "app/ScriptCommandLine.h"
#include "document/EncodingDetection.h"
#include "wml/ParsedDeck.h"
#include "wml/check/CompiledBudget.h"
#include "wml/check/DeckChecker.h"
#include "wml/script/ScriptCompiler.h"
#include "wml/wbxml/DeckCompiler.h"

#include <QFile>

namespace tessera {

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
    stream << name << ':' << finding.line << ':' << finding.column << ": "
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

int runCheckMode(const ModeContext& context) {
  const QStringList files = context.operands();
  if (files.isEmpty())
    return context.usageError(QStringLiteral("--check needs at least one file"));
  int status = kExitUsage;
  const std::optional<int> budget = budgetOption(context, &status);
  if (!budget)
    return status;
  bool unreadable = false;
  bool errors = false;
  for (const QString& name : files) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
      context.err << "tessera: cannot read " << name << ": " << file.errorString() << '\n';
      unreadable = true;
      continue;
    }
    if (wml::script::isScriptFileName(name)) {
      errors = checkScriptFile(name, file.readAll(), context.out) || errors;
      context.out.flush();
      continue;
    }
    const QList<wml::Finding> findings = checkDeckFile(name, file.readAll(), *budget);
    printFindings(context.out, name, findings);
    errors = errors || wml::hasError(findings);
  }
  return unreadable ? kExitUsage : errors ? kExitFindings : kExitClean;
}

} // namespace tessera
