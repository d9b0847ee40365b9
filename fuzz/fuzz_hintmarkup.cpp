// The balloon hint's markup walk: any hint text is measured and drawn
// without a crash or a hang, drawing measures what measuring alone does,
// and every CR outside a tag moves at least one line down.
#include "FuzzSupport.h"
#include "info/HintText.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

using namespace tessera;
using fuzzing::require;

namespace {
// The CRs that break lines: a CR between a "<" and a later ">" is part of a
// tag and goes with it.
int breaksOutsideTags(const QString& text) {
  int breaks = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('<')) {
      const qsizetype close = text.indexOf(QLatin1Char('>'), i + 1);
      if (close > i) {
        i = close;
        continue;
      }
    }
    if (text[i] == QLatin1Char('\r'))
      ++breaks;
  }
  return breaks;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::ensureApplication();
  if (size > 4096)
    return 0; // hints are short; longer inputs only slow the search
  const QString text = fuzzing::utf16Of(data, size);
  static const QFont font(QStringLiteral("Liberation Sans"), 9);
  const QPoint origin(3, 5);
  // The first measuring of a character that needs a fallback font can come
  // out a few pixels different from every later one (the toolkit loads the
  // fallback font on that first call), so the walk is held against itself
  // only after one warm-up pass.
  DrawHintText(nullptr, font, origin, text);
  const QSize measured = DrawHintText(nullptr, font, origin, text);
  // The widest extent starts at 0, not at the origin: an empty text covers
  // nothing to the right of the origin's column 0.
  require(measured.height() >= origin.y(), "the extent starts above the origin");
  require(text.isEmpty() || measured.width() >= origin.x(),
          "a non-empty text ends left of the origin");
  const int lineHeight = QFontMetrics(font).height();
  require(measured.height() - origin.y() >= breaksOutsideTags(text) * lineHeight,
          "a line break did not move down a line");

  static QImage canvas(64, 64, QImage::Format_ARGB32);
  QPainter painter(&canvas);
  const QSize drawn = DrawHintText(&painter, font, origin, text);
  require(drawn == measured, "drawing and measuring disagree");
  require(DrawHintText(nullptr, font, origin, applyHintSeparator(text, QString())) == measured,
          "an empty separator changed the text");
  return 0;
}
