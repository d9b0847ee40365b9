// The balloon hint's markup walk: any hint text is measured and drawn
// without a crash or a hang, drawing measures what measuring alone does,
// and every CR moves at least one line down.
#include "FuzzSupport.h"
#include "info/HintText.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

using namespace tessera;
using fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::ensureApplication();
  if (size > 4096)
    return 0; // hints are short; longer inputs only slow the search
  const QString text = fuzzing::utf16Of(data, size);
  static const QFont font(QStringLiteral("Liberation Sans"), 9);
  const QPoint origin(3, 5);
  const QSize measured = DrawHintText(nullptr, font, origin, text);
  require(measured.width() >= origin.x() && measured.height() >= origin.y(),
          "the extent starts before the origin");
  const int lineHeight = QFontMetrics(font).height();
  require(measured.height() - origin.y() >= text.count(QLatin1Char('\r')) * lineHeight,
          "a line break did not move down a line");

  static QImage canvas(64, 64, QImage::Format_ARGB32);
  QPainter painter(&canvas);
  const QSize drawn = DrawHintText(&painter, font, origin, text);
  require(drawn == measured, "drawing and measuring disagree");
  require(DrawHintText(nullptr, font, origin, applyHintSeparator(text, QString())) == measured,
          "an empty separator changed the text");
  return 0;
}
