#include "app/DeckCommandLine.h"

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

#include <optional>

namespace tessera {
namespace {

constexpr int kDone = kExitClean;
constexpr int kBadInput = kExitFindings;
constexpr int kFileOrUsage = kExitUsage;
// A deck or a picture larger than this is not one for a phone.
constexpr qint64 kInputLimit = 256 * 1024 * 1024;

struct Options {
  QString mode;
  QString input;
  QString output;
  QString dither = QStringLiteral("diffusion");
  int threshold = kDefaultThreshold;
  bool stringTable = true;
};

// Nothing when the command line is wrong.
std::optional<Options> parse(const QString& mode, const QStringList& arguments) {
  Options options;
  options.mode = mode;
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& word = arguments.at(i);
    const bool hasValue = i + 1 < arguments.size();
    if (word == QLatin1String("-o") && hasValue && options.mode != QLatin1String("--decompile")) {
      options.output = arguments.at(++i);
    } else if (word == QLatin1String("--dither") && hasValue &&
               options.mode == QLatin1String("--wbmp")) {
      options.dither = arguments.at(++i);
    } else if (word == QLatin1String("--threshold") && hasValue &&
               options.mode == QLatin1String("--wbmp")) {
      bool number = false;
      options.threshold = arguments.at(++i).toInt(&number);
      if (!number || options.threshold < 0 || options.threshold > 255)
        return std::nullopt;
    } else if (word == QLatin1String("--no-string-table") &&
               options.mode == QLatin1String("--compile")) {
      options.stringTable = false;
    } else if (!word.startsWith(u'-') && options.input.isEmpty()) {
      options.input = word;
    } else {
      return std::nullopt;
    }
  }
  const bool needsOutput = options.mode != QLatin1String("--decompile");
  if (options.input.isEmpty() || (needsOutput && options.output.isEmpty()) ||
      !ditheringNamed(options.dither))
    return std::nullopt;
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

int compile(const Options& options, QTextStream& out, QTextStream& err) {
  if (wml::script::isScriptFileName(options.input))
    return compileScriptFile(options.input, options.output, out, err);
  const auto bytes = readInput(options.input, err);
  if (!bytes)
    return kFileOrUsage;
  const wml::wbxml::CompiledDeck compiled =
      wml::wbxml::compileDeckText(decodeDocument(*bytes).text, options.stringTable);
  if (!compiled.ok) {
    err << (compiled.wellFormed ? QStringLiteral("%1: cannot be compiled: %2\n")
                                : QStringLiteral("%1: not a well-formed deck: %2\n"))
               .arg(options.input, compiled.error);
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
    err << (QStringLiteral("Cannot open compiled deck: %1\n").arg(decoded.error));
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

int runMode(const QString& mode, const QStringList& operands, QTextStream& out, QTextStream& err,
            int (*run)(const Options&, QTextStream&, QTextStream&)) {
  const auto options = parse(mode, operands);
  if (!options) {
    err << "tessera: wrong use of " << mode << "\n\n" << usageText();
    return kFileOrUsage;
  }
  return run(*options, out, err);
}

} // namespace

int runCompileMode(const QStringList& operands, QTextStream& out, QTextStream& err) {
  return runMode(QStringLiteral("--compile"), operands, out, err, compile);
}

int runDecompileMode(const QStringList& operands, QTextStream& out, QTextStream& err) {
  return runMode(QStringLiteral("--decompile"), operands, out, err, decompile);
}

int runWbmpMode(const QStringList& operands, QTextStream& out, QTextStream& err) {
  return runMode(QStringLiteral("--wbmp"), operands, out, err, convertPicture);
}

} // namespace tessera
