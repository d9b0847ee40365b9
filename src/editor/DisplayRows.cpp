#include "editor/DisplayRows.h"

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

namespace tessera {

bool DisplayRows::wrapping() const {
  return edit_.lineWrapMode() != QPlainTextEdit::NoWrap;
}

// The row breaks of a block exactly as the editor's layout makes them: the
// block's own layout when the editor has laid it out, else the same layout
// made here and thrown away (the editor lays out only what it shows).
QList<int> DisplayRows::rowStartsInBlock(const QTextBlock& block) const {
  if (!wrapping())
    return {0};
  const QTextLayout* shown = block.layout();
  if (shown && shown->lineCount() > 0) {
    QList<int> starts;
    starts.reserve(shown->lineCount());
    for (int i = 0; i < shown->lineCount(); ++i)
      starts.append(shown->lineAt(i).textStart());
    return starts;
  }
  const QTextDocument* doc = edit_.document();
  // The editor lays its text out to the viewport's width.
  const qreal width = edit_.viewport()->width();
  if (width <= 0)
    return {0};
  QTextOption option = doc->defaultTextOption();
  qreal extra = 0;
  if (option.flags() & QTextOption::AddSpaceForLineAndParagraphSeparators)
    extra = QFontMetricsF(block.charFormat().font()).horizontalAdvance(QChar(0x21B5));
  const qreal available = width - 2 * doc->documentMargin() - extra;
  QTextLayout layout(block.text(), doc->defaultFont());
  layout.setTextOption(option);
  layout.beginLayout();
  QList<int> starts;
  while (true) {
    QTextLine line = layout.createLine();
    if (!line.isValid())
      break;
    line.setLineWidth(available);
    starts.append(line.textStart());
  }
  layout.endLayout();
  if (starts.isEmpty())
    starts.append(0);
  return starts;
}

int DisplayRows::rowsInBlock(const QTextBlock& block) const {
  if (!wrapping())
    return 1;
  const QTextLayout* shown = block.layout();
  if (shown && shown->lineCount() > 0)
    return shown->lineCount();
  return int(rowStartsInBlock(block).size());
}

int DisplayRows::rowCount() const {
  const QTextDocument* doc = edit_.document();
  // An empty last line after a final break is not counted.
  const QTextBlock last = doc->lastBlock();
  const bool dropLast = doc->blockCount() > 1 && last.length() <= 1;
  if (!wrapping())
    return doc->blockCount() - (dropLast ? 1 : 0);
  int rows = 0;
  for (QTextBlock b = doc->firstBlock(); b.isValid(); b = b.next())
    rows += rowsInBlock(b);
  return rows - (dropLast ? 1 : 0);
}

int DisplayRows::rowOfQtPosition(int qtPosition) const {
  const QTextDocument* doc = edit_.document();
  const QTextBlock block = doc->findBlock(qtPosition);
  if (!wrapping())
    return block.blockNumber();
  int rows = 0;
  for (QTextBlock b = doc->firstBlock(); b.isValid() && b != block; b = b.next())
    rows += rowsInBlock(b);
  const QList<int> starts = rowStartsInBlock(block);
  const int offset = qtPosition - block.position();
  const auto it = std::upper_bound(starts.begin(), starts.end(), offset);
  return rows + int(it - starts.begin()) - 1;
}

QTextBlock DisplayRows::blockOfRow(int row, int* rowInBlock) const {
  const QTextDocument* doc = edit_.document();
  row = std::max(row, 0);
  if (!wrapping()) {
    QTextBlock b = doc->findBlockByNumber(std::min(row, doc->blockCount() - 1));
    *rowInBlock = 0;
    return b;
  }
  int rows = 0;
  QTextBlock b = doc->firstBlock();
  while (true) {
    const int n = rowsInBlock(b);
    if (row < rows + n || !b.next().isValid()) {
      *rowInBlock = std::min(row - rows, n - 1);
      return b;
    }
    rows += n;
    b = b.next();
  }
}

int DisplayRows::rowStart(int row) const {
  int start = 0, end = 0;
  rowRange(row, &start, &end);
  return start;
}

void DisplayRows::rowRange(int row, int* start, int* end) const {
  int inBlock = 0;
  const QTextBlock block = blockOfRow(row, &inBlock);
  const QList<int> starts = rowStartsInBlock(block);
  const int textLength = block.length() - 1;
  *start = block.position() + starts.value(inBlock, 0);
  *end = block.position() + (inBlock + 1 < starts.size() ? starts[inBlock + 1] : textLength);
}

} // namespace tessera
