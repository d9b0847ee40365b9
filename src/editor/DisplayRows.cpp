#include "editor/DisplayRows.h"

#include "editor/BlockLookup.h"
#include "editor/TextDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

namespace tessera {

namespace {
// Blocks an edit may touch and still be measured on the spot; a larger
// change (a paste, a whole new text) is measured lazily.
constexpr int kEagerBlocks = 64;
// A line this long is measured from the toolkit's own layout of it, made
// once for the screen as well, instead of laying it out a second time.
constexpr int kLongLine = 10000;
// Blocks measured between two looks at the clock while warming up.
constexpr int kWarmChunk = 2048;
constexpr int kWarmSliceMs = 8;
} // namespace

DisplayRows::DisplayRows(QPlainTextEdit& edit, const TextDocument* model) : edit_(edit) {
  warmTimer_.setSingleShot(true);
  warmTimer_.setInterval(0);
  connect(&warmTimer_, &QTimer::timeout, this, &DisplayRows::warmSlice);
  // The editor's status refresh must already see the new counts.
  if (model)
    connect(model, &TextDocument::contentsChange, this, &DisplayRows::onContentsChange);
  else
    connect(edit.document(), &QTextDocument::contentsChange, this, &DisplayRows::onContentsChange);
  edit.installEventFilter(this);
  edit.viewport()->installEventFilter(this);
  warmTimer_.start();
}

DisplayRows::~DisplayRows() = default;

bool DisplayRows::wrapping() const { return edit_.lineWrapMode() != QPlainTextEdit::NoWrap; }

int DisplayRows::blockCount() const { return edit_.document()->blockCount(); }

bool DisplayRows::eventFilter(QObject* watched, QEvent* event) {
  // A new width or font changes every count: re-measure in idle time so a
  // later query finds them ready.
  const auto type = event->type();
  if (type == QEvent::Resize || type == QEvent::FontChange || type == QEvent::StyleChange)
    warmTimer_.start();
  return QObject::eventFilter(watched, event);
}

void DisplayRows::sync() const {
  const RowLayoutParams now = RowLayoutParams::of(edit_);
  if (!now.wrapping) {
    cached_ = false;
    return;
  }
  if (!cached_ || !(now == params_) || tree_.size() != blockCount())
    reset(now);
}

const RowMeasure& DisplayRows::measure() const {
  if (!measure_)
    measure_ = std::make_unique<RowMeasure>(params_);
  return *measure_;
}

void DisplayRows::reset(const RowLayoutParams& params) const {
  params_ = params;
  measure_.reset(); // made when a line is first measured
  tree_.assign(blockCount(), 0);
  firstUnmeasured_ = 0;
  lastBlock_ = -1;
  cached_ = true;
  warmTimer_.start();
}

bool DisplayRows::isWarm() const {
  if (!wrapping())
    return true;
  return cached_ && RowLayoutParams::of(edit_) == params_ && tree_.size() == blockCount() &&
         firstUnmeasured_ >= blockCount();
}

void DisplayRows::ensureMeasuredThrough(int blockNumber) const {
  sync();
  if (!cached_)
    return;
  blockNumber = std::min(blockNumber, tree_.size() - 1);
  if (blockNumber < firstUnmeasured_)
    return;
  std::vector<int> counts;
  counts.reserve(blockNumber - firstUnmeasured_ + 1);
  QTextBlock block = edit_.document()->findBlockByNumber(firstUnmeasured_);
  for (int i = firstUnmeasured_; i <= blockNumber; ++i, block = block.next()) {
    const int known = tree_.value(i);
    counts.push_back(known > 0 ? known : int(rowStartsOf(block).size()));
  }
  tree_.splice(firstUnmeasured_, int(counts.size()), counts);
  firstUnmeasured_ = blockNumber + 1;
}

int DisplayRows::rowsBefore(int blockNumber) const {
  ensureMeasuredThrough(blockNumber - 1);
  return tree_.prefix(blockNumber);
}

void DisplayRows::warmSlice() {
  if (!wrapping())
    return;
  sync();
  QElapsedTimer clock;
  clock.start();
  const int n = blockCount();
  while (cached_ && firstUnmeasured_ < n && clock.elapsed() < kWarmSliceMs)
    ensureMeasuredThrough(firstUnmeasured_ + kWarmChunk - 1);
  if (cached_ && firstUnmeasured_ < n)
    warmTimer_.start();
}

void DisplayRows::onContentsChange(int from, int, int added) {
  lastBlock_ = -1;
  lines_.forget();
  if (!cached_ || !(RowLayoutParams::of(edit_) == params_)) {
    cached_ = false;
    if (wrapping())
      warmTimer_.start();
    return;
  }
  const QTextDocument* doc = edit_.document();
  QTextBlock first = doc->findBlock(from);
  if (!first.isValid())
    first = doc->lastBlock();
  QTextBlock last = doc->findBlock(from + added);
  if (!last.isValid())
    last = doc->lastBlock();
  const int delta = doc->blockCount() - tree_.size();
  const int start = first.blockNumber();
  const int newEnd = last.blockNumber();
  const int oldEnd = newEnd - delta;
  if (oldEnd < start || oldEnd >= tree_.size() || newEnd < start) {
    cached_ = false; // not a change this cache can follow: start over
    warmTimer_.start();
    return;
  }
  const int count = newEnd - start + 1;
  std::vector<int> counts(count, 0);
  // A long line is left for later: the toolkit lays it out right after this.
  bool eager = count <= kEagerBlocks;
  if (eager) {
    QTextBlock block = first;
    for (int k = 0; k < count && eager; ++k, block = block.next()) {
      if (block.length() > kLongLine)
        eager = false;
      else
        counts[k] = measure().rowCount(block.text());
    }
    if (!eager)
      std::fill(counts.begin(), counts.end(), 0);
  }
  tree_.splice(start, oldEnd - start + 1, counts);
  if (eager) {
    if (firstUnmeasured_ > oldEnd)
      firstUnmeasured_ += delta;
    else if (firstUnmeasured_ >= start)
      firstUnmeasured_ = newEnd + 1;
  } else {
    firstUnmeasured_ = std::min(firstUnmeasured_, start);
    warmTimer_.start();
  }
}

QList<int> DisplayRows::rowStartsInBlock(const QTextBlock& block) const {
  return wrapping() ? rowStartsInBlock(block, block.blockNumber()) : QList<int>{0};
}

QList<int> DisplayRows::rowStartsInBlock(const QTextBlock& block, int number) const {
  sync();
  if (number == lastBlock_)
    return lastStarts_;
  lastStarts_ = rowStartsOf(block);
  lastBlock_ = number;
  if (number < tree_.size() && tree_.value(number) == 0)
    tree_.set(number, int(lastStarts_.size()));
  return lastStarts_;
}

int DisplayRows::rowCount() const {
  const QTextDocument* doc = edit_.document();
  // An empty last line after a final break is not counted.
  const QTextBlock last = doc->lastBlock();
  const bool dropLast = doc->blockCount() > 1 && last.length() <= 1;
  if (!wrapping())
    return doc->blockCount() - (dropLast ? 1 : 0);
  warmUp();
  return tree_.total() - (dropLast ? 1 : 0);
}

int DisplayRows::rowOfQtPosition(QtPosition position, QtPosition* rowStart) const {
  const BlockAt line = lines_.at(*edit_.document(), position);
  if (!wrapping()) {
    if (rowStart)
      *rowStart = line.start;
    return line.number;
  }
  const QTextBlock block = lines_.block();
  const int rows = rowsBefore(line.number);
  const QList<int> starts = rowStartsInBlock(block, line.number);
  const auto it = std::upper_bound(starts.begin(), starts.end(), position - line.start);
  const int inBlock = std::max(int(it - starts.begin()) - 1, 0);
  if (rowStart)
    *rowStart = line.start + starts.value(inBlock, 0);
  return rows + inBlock;
}

QTextBlock DisplayRows::blockOfRow(int row, int* rowInBlock) const {
  const QTextDocument* doc = edit_.document();
  row = std::max(row, 0);
  const int n = doc->blockCount();
  if (!wrapping()) {
    *rowInBlock = 0;
    return doc->findBlockByNumber(std::min(row, n - 1));
  }
  sync();
  // Measure forward only as far as the row lies, in growing steps.
  for (int step = 1; firstUnmeasured_ < n && row >= tree_.prefix(firstUnmeasured_);
       step = std::min(2 * step, kWarmChunk))
    ensureMeasuredThrough(firstUnmeasured_ + step - 1);
  int index = tree_.lowerBound(row);
  if (index >= n) {
    index = n - 1;
    *rowInBlock = std::max(tree_.value(index) - 1, 0);
  } else {
    *rowInBlock = row - tree_.prefix(index);
  }
  return doc->findBlockByNumber(index);
}

QtPosition DisplayRows::rowStart(int row) const {
  QtPosition start, end;
  rowRange(row, &start, &end);
  return start;
}

void DisplayRows::rowRange(int row, QtPosition* start, QtPosition* end) const {
  int inBlock = 0;
  const QTextBlock block = blockOfRow(row, &inBlock);
  const QList<int> starts = rowStartsInBlock(block);
  const int textLength = block.length() - 1;
  inBlock = std::min(inBlock, int(starts.size()) - 1);
  const QtPosition blockStart(block.position());
  *start = blockStart + starts.value(inBlock, 0);
  *end = blockStart + (inBlock + 1 < starts.size() ? starts[inBlock + 1] : textLength);
}

QList<int> DisplayRows::rowStartsOf(const QTextBlock& block) const {
  if (block.length() <= kLongLine)
    return measure().rowStarts(block.text());
  // What the screen shows: the toolkit's layout of the line, made now if it
  // has none yet, and kept for painting.
  const QTextLayout* layout = block.layout();
  if (layout->lineCount() == 0)
    edit_.document()->documentLayout()->blockBoundingRect(block);
  QList<int> starts;
  starts.reserve(layout->lineCount());
  for (int i = 0; i < layout->lineCount(); ++i)
    starts.append(layout->lineAt(i).textStart());
  if (starts.isEmpty())
    starts.append(0);
  return starts;
}

} // namespace tessera
