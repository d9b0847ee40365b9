#include "document/PrintLayout.h"

#include <QFontMetrics>

#include <algorithm>

namespace tessera {

FontMeasure::FontMeasure(const QFontMetrics& metrics) : metrics_(metrics) {}
FontMeasure::~FontMeasure() = default;
int FontMeasure::width(QStringView text) const {
  return metrics_.horizontalAdvance(text.toString());
}
int FontMeasure::height() const { return metrics_.height(); }
int FontMeasure::averageCharWidth() const { return metrics_.averageCharWidth(); }

namespace {

class Layouter {
public:
  Layouter(const TextMeasure& measure, QSize area)
      : measure_(measure), area_(area),
        tabWidth_(std::max(1, kTabStopChars * measure.averageCharWidth())) {
    startPage(false);
  }

  void printLine(QStringView line) {
    line = line.left(kMaxPrintedLineLength);
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
      const QChar c = line[i];
      if (c != QLatin1Char('\t') && c != QLatin1Char('\f'))
        continue;
      put(line.mid(start, i - start));
      if (c == QLatin1Char('\t'))
        tab();
      else
        startPage(false);
      start = i + 1;
    }
    put(line.mid(start));
    endLine();
  }

  QList<PrintedPage> finish() {
    // The page-end rule may have opened a page that nothing followed.
    if (pages_.size() > 1 && pages_.last().texts.isEmpty() && pageWasAutomatic_)
      pages_.removeLast();
    return pages_;
  }

private:
  void startPage(bool automatic) {
    pages_.append(PrintedPage{});
    pageWasAutomatic_ = automatic;
    x_ = 0;
    y_ = 0;
    lineHeight_ = 0;
  }

  void endLine() {
    const int ended = lineHeight_;
    x_ = 0;
    y_ += ended == 0 ? measure_.height() : ended;
    lineHeight_ = 0;
    if (y_ > area_.height() - 2 * ended)
      startPage(true);
  }

  void tab() {
    const int next = (x_ / tabWidth_ + 1) * tabWidth_;
    if (next > area_.width())
      endLine();
    else
      x_ = next;
  }

  // The longest prefix of `text` no wider than `room`; a surrogate pair
  // is never split.
  qsizetype fittingPrefix(QStringView text, int room) const {
    qsizetype lo = 0, hi = text.size();
    while (lo < hi) {
      const qsizetype mid = lo + (hi - lo + 1) / 2;
      if (measure_.width(text.left(mid)) <= room)
        lo = mid;
      else
        hi = mid - 1;
    }
    if (lo > 0 && lo < text.size() && text[lo - 1].isHighSurrogate())
      --lo;
    return lo;
  }

  void put(QStringView text) {
    while (!text.isEmpty()) {
      qsizetype fit = fittingPrefix(text, area_.width() - x_);
      if (fit == 0) {
        if (x_ > 0) {
          endLine();
          continue;
        }
        // A character wider than the whole page is printed anyway rather
        // than trying forever.
        fit = text.size() > 1 && text[0].isHighSurrogate() ? 2 : 1;
      }
      place(text.left(fit));
      text = text.mid(fit);
      if (!text.isEmpty())
        endLine();
    }
  }

  void place(QStringView piece) {
    const int height = measure_.height();
    // After empty lines the top may lie so low that the text would be cut
    // off at the bottom edge: it goes to the next page instead.
    if (y_ > 0 && y_ + height > area_.height()) {
      const int x = x_;
      startPage(true);
      x_ = x;
    }
    pages_.last().texts.append(PlacedText{QPoint(x_, y_), piece.toString()});
    x_ += measure_.width(piece);
    lineHeight_ = std::max(lineHeight_, height + 2);
  }

  const TextMeasure& measure_;
  const QSize area_;
  const int tabWidth_;
  QList<PrintedPage> pages_;
  bool pageWasAutomatic_ = false;
  int x_ = 0;
  int y_ = 0;
  int lineHeight_ = 0;
};

} // namespace

QList<PrintedPage> layoutListing(const QStringList& lines, const TextMeasure& measure, QSize area) {
  Layouter layouter(measure, area);
  for (const QString& line : lines)
    layouter.printLine(line);
  return layouter.finish();
}

} // namespace tessera
