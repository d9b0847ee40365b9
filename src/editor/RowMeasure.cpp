#include "editor/RowMeasure.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace tessera {

RowLayoutParams RowLayoutParams::of(const QPlainTextEdit& edit) {
  RowLayoutParams p;
  p.wrapping = edit.lineWrapMode() != QPlainTextEdit::NoWrap;
  const QTextDocument* doc = edit.document();
  // The editor lays its text out to the viewport's width.
  p.width = edit.viewport()->width();
  p.font = doc->defaultFont();
  const QTextOption option = doc->defaultTextOption();
  p.wrapMode = option.wrapMode();
  p.flags = option.flags();
  p.tabStop = option.tabStopDistance();
  p.margin = doc->documentMargin();
  return p;
}

bool RowLayoutParams::operator==(const RowLayoutParams& o) const {
  return wrapping == o.wrapping && width == o.width && wrapMode == o.wrapMode && flags == o.flags &&
         tabStop == o.tabStop && margin == o.margin && font == o.font && font.key() == o.font.key();
}

RowMeasure::RowMeasure(const RowLayoutParams& params) : params_(params), metrics_(params.font) {
  option_.setWrapMode(params.wrapMode);
  option_.setFlags(params.flags);
  option_.setTabStopDistance(params.tabStop);
  // The same width the editor's document layout gives each line.
  qreal extra = 0;
  if (params.flags & QTextOption::AddSpaceForLineAndParagraphSeparators)
    extra = QFontMetrics(params.font).horizontalAdvance(QChar(0x21B5));
  const qreal width = params.width > 0 ? params.width : qreal(INT_MAX);
  available_ = width - 2 * params.margin - extra;

  for (int c = 0; c < 256; ++c) {
    const bool guessable = (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c != 0xAD);
    advance_[c] = guessable ? kUnmeasured : kNoGuess;
  }
  // Kerning and rounding may shift a shaped line a little from the sum of
  // its advances; a line near the edge is laid out for real. The font's
  // widest glyph bounds the advances; a character drawn from another font
  // widens the margin as it is measured.
  slack_ = 2 * metrics_.maxWidth() + 1;
}

float RowMeasure::advanceOf(char16_t latin1) const {
  float& advance = advance_[latin1];
  if (advance == kUnmeasured) {
    advance = std::max(0.0f, float(metrics_.horizontalAdvance(QChar(latin1))));
    slack_ = std::max(slack_, 2 * qreal(advance) + 1);
  }
  return advance;
}

bool RowMeasure::fitsOneRow(const QString& text) const {
  if (!params_.wrapping || params_.wrapMode == QTextOption::NoWrap)
    return true;
  qreal sum = 0;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u > 0xFF)
      return false;
    const float advance = advanceOf(u);
    if (advance < 0)
      return false;
    sum += advance;
  }
  return sum * 1.02 + slack_ <= available_;
}

QList<int> RowMeasure::rowStarts(const QString& text) const {
  if (fitsOneRow(text))
    return {0};
  QTextLayout layout(text, params_.font);
  layout.setTextOption(option_);
  layout.beginLayout();
  QList<int> starts;
  while (true) {
    QTextLine line = layout.createLine();
    if (!line.isValid())
      break;
    line.setLeadingIncluded(true);
    line.setLineWidth(available_);
    starts.append(line.textStart());
  }
  layout.endLayout();
  if (starts.isEmpty())
    starts.append(0);
  return starts;
}

int RowMeasure::rowCount(const QString& text) const { return int(rowStarts(text).size()); }

} // namespace tessera
