#include "app/DeckCommandLine.h"

#include "app/CheckMode.h"
#include "app/CommandLine.h"
#include "app/ScriptCommandLine.h"
#include "deck/WbmpConversion.h"
#include "document/FileCodec.h"
#include "document/FileReading.h"
#include "wml/script/ScriptCompiler.h"
#include "wml/wbxml/DeckCompiler.h"
#include "wml/wbxml/WbxmlDecoder.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include <algorithm>
#include <optional>

namespace tessera {
namespace {

constexpr int kDone = kExitClean;
constexpr int kBadInput = kExitFindings;
constexpr int kFileOrUsage = kExitUsage;
// A deck or a picture larger than this is not one for a phone.
constexpr qint64 kInputLimit = 256 * 1024 * 1024;

struct Options {
  QString input;
  QString output;
  QString dither = QStringLiteral("diffusion");
  int threshold = kDefaultThreshold;
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
  const QString mode = QStringLiteral("--") + context.mode.name;
  const QStringList operands = context.operands();
  const bool takesOutput = context.mode.options.contains(QStringLiteral("output"));
  Options options;
  if (operands.size() != 1) {
    *status = context.usageError(operands.isEmpty()
                                     ? QStringLiteral("%1: the input file is missing").arg(mode)
                                     : QStringLiteral("%1 %2: one input file at a time")
                                           .arg(mode, operands.mid(1).join(u' ')));
    return std::nullopt;
  }
  options.input = operands.first();
  const bool compiling = context.mode.name == QLatin1String("compile");
  if (takesOutput) {
    options.output = parser.value(QStringLiteral("output"));
    if (options.output.isEmpty() && compiling && !parser.isSet(QStringLiteral("output")))
      options.output = besideInput(options.input);
    if (options.output.isEmpty()) {
      *status = context.usageError(QStringLiteral("%1: -o OUT is missing").arg(mode));
      return std::nullopt;
    }
  }
  if (parser.isSet(QStringLiteral("dither"))) {
    options.dither = parser.value(QStringLiteral("dither"));
    if (!ditheringNamed(options.dither)) {
      *status =
          context.usageError(QStringLiteral("--dither %1: expected threshold, ordered or diffusion")
                                 .arg(options.dither));
      return std::nullopt;
    }
  }
  if (parser.isSet(QStringLiteral("threshold"))) {
    const QString word = parser.value(QStringLiteral("threshold"));
    bool number = false;
    options.threshold = word.toInt(&number);
    if (!number || options.threshold < 0 || options.threshold > 255) {
      *status = context.usageError(
          QStringLiteral("--threshold %1: expected a number from 0 to 255").arg(word));
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

std::optional<QByteArray> readInput(const QString& path, QTextStream& err) {
  FileReadResult read = readAtMost(path, kInputLimit);
  if (read.status == FileReadResult::Read)
    return std::move(read.bytes);
  err << (QStringLiteral("%1: cannot read: %2\n")
              .arg(path, read.status == FileReadResult::TooLarge ? QStringLiteral("too large")
                                                                 : read.reason));
  return std::nullopt;
}

bool writeOutput(const QString& path, const QByteArray& bytes, QTextStream& err) {
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
    return true;
  err << (QStringLiteral("%1: cannot write: %2\n").arg(path, file.errorString()));
  return false;
}

// The checks run first, as they would in the editor: their findings go to
// standard error, and an error keeps the deck from being written unless
// --force says otherwise.
int compile(const Options& options, QTextStream& out, QTextStream& err) {
  if (wml::script::isScriptFileName(options.input))
    return compileScriptFile(options.input, options.output, out, err);
  const auto bytes = readInput(options.input, err);
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
  if (!writeOutput(options.output, compiled.bytes, err))
    return kFileOrUsage;
  out << (QStringLiteral("%1: %2 bytes\n").arg(options.output).arg(compiled.bytes.size()));
  return kDone;
}

int decompile(const Options& options, QTextStream& out, QTextStream& err) {
  const auto bytes = readInput(options.input, err);
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

int convertPicture(const Options& options, QTextStream& out, QTextStream& err) {
  auto bytes = readInput(options.input, err);
  if (!bytes)
    return kFileOrUsage;
  QBuffer buffer(&*bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QImage picture = reader.read();
  if (picture.isNull()) {
    err << (QStringLiteral("%1: not a picture: %2\n").arg(options.input, reader.errorString()));
    return kBadInput;
  }
  const QByteArray wbmp =
      wbmpBytes(toOneBit(picture, *ditheringNamed(options.dither), options.threshold));
  if (wbmp.isEmpty()) {
    err << (QStringLiteral("%1: cannot write WBMP: Qt's image formats plugin is missing\n")
                .arg(options.output));
    return kFileOrUsage;
  }
  if (!writeOutput(options.output, wbmp, err))
    return kFileOrUsage;
  out << (QStringLiteral("%1: %2 bytes\n").arg(options.output).arg(wbmp.size()));
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

int runWbmpMode(const ModeContext& context) { return runMode(context, convertPicture); }

} // namespace tessera
