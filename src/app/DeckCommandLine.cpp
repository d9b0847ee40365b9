#include "app/DeckCommandLine.h"

#include "app/CheckMode.h"
#include "app/CommandLine.h"
#include "app/ModeFiles.h"
#include "app/ScriptCommandLine.h"
#include "document/FileCodec.h"
#include "wml/script/ScriptCompiler.h"
#include "wml/wbxml/DeckCompiler.h"
#include "wml/wbxml/WbxmlDecoder.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace tessera {
namespace {

constexpr int kDone = kExitClean;
constexpr int kBadInput = kExitFindings;
constexpr int kFileOrUsage = kExitUsage;

struct Options {
  QString input;
  QString output;
  bool stringTable = true;
  int budget = 0;     // bytes; 0 for none
  bool force = false; // write even when the checks find errors
};

// Beside the input, with the compiled form's extension: deck.wml gives
// deck.wmlc, unit.wmls gives unit.wmlsc.
QString besideInput(const QString& input) {
  const QFileInfo info(input);
  const bool script = info.suffix().compare(QLatin1String("wmls"), Qt::CaseInsensitive) == 0;
  const QString name =
      info.completeBaseName() + (script ? QStringLiteral(".wmlsc") : QStringLiteral(".wmlc"));
  return info.path() == QLatin1String(".") && !input.startsWith(QLatin1String("./"))
             ? name
             : info.path() + u'/' + name;
}

// Nothing when the command line is wrong, after saying what is wrong.
std::optional<Options> parse(const ModeContext& context, int* status) {
  const QCommandLineParser& parser = context.parser;
  Options options;
  const std::optional<QString> input = singleInput(context, status);
  if (!input)
    return std::nullopt;
  options.input = *input;
  const bool compiling = context.mode.name == QLatin1String("compile");
  if (compiling) {
    options.output = parser.value(QStringLiteral("output"));
    if (options.output.isEmpty() && !parser.isSet(QStringLiteral("output")))
      options.output = besideInput(options.input);
    if (options.output.isEmpty()) {
      *status = context.usageError(QStringLiteral("--compile: -o OUT is missing"));
      return std::nullopt;
    }
  }
  options.stringTable = !parser.isSet(QStringLiteral("no-string-table"));
  options.force = parser.isSet(QStringLiteral("force"));
  if (compiling) {
    const std::optional<int> budget = budgetOption(context, status);
    if (!budget)
      return std::nullopt;
    options.budget = *budget;
  }
  return options;
}

// The checks run first, as they would in the editor: their findings go to
// standard error, and an error keeps the deck from being written unless
// --force says otherwise.
int compile(const Options& options, QTextStream& out, QTextStream& err) {
  if (wml::script::isScriptFileName(options.input))
    return compileScriptFile(options.input, options.output, out, err);
  const auto bytes = readModeInput(options.input, err);
  if (!bytes)
    return kFileOrUsage;
  const QList<wml::Finding> findings = checkDeckFile(options.input, *bytes, options.budget);
  printFindings(err, options.input, findings);
  const wml::wbxml::CompiledDeck compiled =
      wml::wbxml::compileDeckText(decodeDocument(*bytes).text, options.stringTable);
  if (!compiled.ok) {
    err << (compiled.wellFormed ? QStringLiteral("%1: cannot be compiled: %2\n")
                                : QStringLiteral("%1: not a well-formed deck: %2\n"))
               .arg(options.input, compiled.error);
    return kBadInput;
  }
  const qsizetype errors =
      std::count_if(findings.cbegin(), findings.cend(), [](const wml::Finding& finding) {
        return finding.severity == wml::Severity::Error;
      });
  if (errors > 0 && !options.force) {
    err << QStringLiteral("%1: not compiled: %2 error(s); --force writes it all the same\n")
               .arg(options.input)
               .arg(errors);
    return kBadInput;
  }
  if (!writeModeOutput(options.output, compiled.bytes, err))
    return kFileOrUsage;
  out << (QStringLiteral("%1: %2 bytes\n").arg(options.output).arg(compiled.bytes.size()));
  return kDone;
}

int decompile(const Options& options, QTextStream& out, QTextStream& err) {
  const auto bytes = readModeInput(options.input, err);
  if (!bytes)
    return kFileOrUsage;
  const wml::wbxml::DecodedDeck decoded = wml::wbxml::decodeDeck(*bytes);
  if (!decoded.ok) {
    err << (QStringLiteral("%1: cannot open compiled deck: %2\n")
                .arg(options.input, decoded.error));
    return kBadInput;
  }
  out << (decoded.source);
  return kDone;
}

} // namespace

namespace {

int runMode(const ModeContext& context, int (*run)(const Options&, QTextStream&, QTextStream&)) {
  int status = kFileOrUsage;
  const auto options = parse(context, &status);
  return options ? run(*options, context.out, context.err) : status;
}

} // namespace

int runCompileMode(const ModeContext& context) { return runMode(context, compile); }

int runDecompileMode(const ModeContext& context) { return runMode(context, decompile); }

} // namespace tessera
