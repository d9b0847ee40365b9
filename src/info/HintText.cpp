#include "info/HintText.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace tessera {

QString applyHintSeparator(const QString& text, const QString& separator) {
  if (separator.isEmpty())
    return text; // QString::replace would put a CR between every character
  QString result = text;
  result.replace(separator, QStringLiteral("\r"));
  return result;
}

namespace {

struct StyleCounters {
  int bold = 0;
  int italic = 0;
  int underline = 0;

  void apply(const QString& tag) {
    const QString t = tag.toUpper();
    const auto down = [](int& counter) {
      if (counter > 0)
        --counter;
    };
    if (t == QLatin1String("B"))
      ++bold;
    else if (t == QLatin1String("/B"))
      down(bold);
    else if (t == QLatin1String("I"))
      ++italic;
    else if (t == QLatin1String("/I"))
      down(italic);
    else if (t == QLatin1String("U"))
      ++underline;
    else if (t == QLatin1String("/U"))
      down(underline);
  }
};

} // namespace

QSize DrawHintText(QPainter* painter, const QFont& baseFont, QPoint origin, const QString& text,
                   bool markup) {
  QFont font = baseFont;
  StyleCounters counters;
  int x = origin.x();
  int y = origin.y();
  int lineHeight = 0;
  int widest = 0;
  // Where the next ">" stands; -1 once none is left, so a text full of
  // unterminated "<" is still walked in linear time.
  qsizetype nextClose = markup ? -2 : -1;
  const qsizetype n = text.size();
  const auto afterStep = [&] {
    widest = std::max(widest, x);
    lineHeight = std::max(lineHeight, QFontMetrics(font).height());
  };

  qsizetype i = 0;
  while (i < n) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('<') && nextClose != -1) {
      if (nextClose < i)
        nextClose = text.indexOf(QLatin1Char('>'), i + 1);
      if (nextClose > i) {
        counters.apply(text.mid(i + 1, nextClose - i - 1));
        i = nextClose + 1;
        afterStep();
        continue;
      }
    }
    if (c == QLatin1Char('\r')) {
      // A leading CR still moves down a full line.
      lineHeight = std::max(lineHeight, QFontMetrics(font).height());
      y += lineHeight;
      x = origin.x();
      ++i;
      afterStep();
      continue;
    }
    const qsizetype length =
        c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate() ? 2 : 1;
    const QString character = text.mid(i, length);
    font.setBold(counters.bold > 0);
    font.setItalic(counters.italic > 0);
    font.setUnderline(counters.underline > 0);
    const QFontMetrics metrics(font);
    if (painter) {
      painter->setFont(font);
      painter->drawText(QPoint(x, y + metrics.ascent()), character);
    }
    // The toolkit gives some characters (U+FFFC, the object replacement
    // character) a negative advance; the pen never moves back.
    x += std::max(0, metrics.horizontalAdvance(character));
    i += length;
    afterStep();
  }
  return {widest, y + lineHeight};
}

} // namespace tessera
