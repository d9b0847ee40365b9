#include "app/WbmpCommandLine.h"

#include "app/ModeFiles.h"
#include "deck/WbmpConversion.h"

#include <QBuffer>
#include <QImageReader>

namespace tessera {

namespace {

struct Options {
  QString input;
  QString output;
  Dithering dithering = Dithering::Diffusion;
  int threshold = kDefaultThreshold;
};

// Nothing when the command line is wrong, after saying what is wrong.
std::optional<Options> parse(const ModeContext& context, int* status) {
  const QCommandLineParser& parser = context.parser;
  Options options;
  const std::optional<QString> input = singleInput(context, status);
  if (!input)
    return std::nullopt;
  options.input = *input;
  options.output = parser.value(QStringLiteral("output"));
  if (options.output.isEmpty()) {
    *status = context.usageError(QStringLiteral("--wbmp: -o OUT is missing"));
    return std::nullopt;
  }
  if (parser.isSet(QStringLiteral("dither"))) {
    const QString word = parser.value(QStringLiteral("dither"));
    const std::optional<Dithering> named = ditheringNamed(word);
    if (!named) {
      *status = context.usageError(
          QStringLiteral("--dither %1: expected threshold, ordered or diffusion").arg(word));
      return std::nullopt;
    }
    options.dithering = *named;
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
  return options;
}

int convertPicture(const Options& options, QTextStream& out, QTextStream& err) {
  auto bytes = readModeInput(options.input, err);
  if (!bytes)
    return kExitUsage;
  QBuffer buffer(&*bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QImage picture = reader.read();
  if (picture.isNull()) {
    err << (QStringLiteral("%1: not a picture: %2\n").arg(options.input, reader.errorString()));
    return kExitFindings;
  }
  const QByteArray wbmp = wbmpBytes(toOneBit(picture, options.dithering, options.threshold));
  if (wbmp.isEmpty()) {
    err << (QStringLiteral("%1: cannot write WBMP: Qt's image formats plugin is missing\n")
                .arg(options.output));
    return kExitUsage;
  }
  if (!writeModeOutput(options.output, wbmp, err))
    return kExitUsage;
  out << (QStringLiteral("%1: %2 bytes\n").arg(options.output).arg(wbmp.size()));
  return kExitClean;
}

} // namespace

int runWbmpMode(const ModeContext& context) {
  int status = kExitUsage;
  const auto options = parse(context, &status);
  return options ? convertPicture(*options, context.out, context.err) : status;
}

} // namespace tessera
