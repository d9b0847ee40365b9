#pragma once

#include "editor/BlockLookup.h"
#include "editor/RowMeasure.h"
#include "editor/RowTree.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>

class QPlainTextEdit;
class QTextBlock;

namespace tessera {

class TextDocument;

// The editor's lines as it displays them: with word wrap off, one per text
// line (block); with word wrap on, one per wrapped row. Positions here are
// the widget's own (a line break counts one).
//
// Under word wrap the row count of every block is cached with prefix sums,
// so a query near the end of a large document costs a few tree steps, not a
// layout of everything before it. Counts are measured lazily (and in idle
// time after a width, font or wrap change); an edit re-measures only the
// blocks it touched.
class DisplayRows : public QObject {
  Q_OBJECT
public:
  // Follows the changes of `edit`'s document; with `model` given, through
  // the model's notice, which comes before the model's change handling.
  explicit DisplayRows(QPlainTextEdit& edit, const TextDocument* model = nullptr);
  ~DisplayRows() override;

  int rowCount() const;
  // The row holding `position`; `rowStart`, when given, receives the widget
  // position where that row begins.
  int rowOfQtPosition(QtPosition position, QtPosition* rowStart = nullptr) const;
  // Widget position where `row` begins; rows past the end clamp to the last.
  QtPosition rowStart(int row) const;
  // Widget positions where `row` begins and ends (end excludes the break).
  void rowRange(int row, QtPosition* start, QtPosition* end) const;

  // Start offsets (UTF-16 units from the block's start, as its layout
  // counts) of every display row of `block`.
  QList<int> rowStartsInBlock(const QTextBlock& block) const;

  // Whether every block's count is measured for the present layout.
  bool isWarm() const;
  // Measures every block now.
  void warmUp() const { ensureMeasuredThrough(blockCount() - 1); }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // Where each row of a line starts, in characters from the line's start.
  QList<int> rowStartsOf(const QTextBlock& block) const;
  // rowStartsInBlock() under word wrap, the block's number known.
  QList<int> rowStartsInBlock(const QTextBlock& block, int number) const;
  bool wrapping() const;
  int blockCount() const;
  // Drops the cache when the layout parameters changed since it was built.
  void sync() const;
  void reset(const RowLayoutParams& params) const;
  void ensureMeasuredThrough(int blockNumber) const;
  int rowsBefore(int blockNumber) const;
  QTextBlock blockOfRow(int row, int* rowInBlock) const;
  void onContentsChange(int from, int removed, int added);
  void warmSlice();
  const RowMeasure& measure() const;

  QPlainTextEdit& edit_;
  // Everything below is a cache, filled from const queries.
  mutable bool cached_ = false;
  mutable RowLayoutParams params_;
  mutable std::unique_ptr<RowMeasure> measure_;
  mutable RowTree tree_;
  mutable int firstUnmeasured_ = 0; // every block before it is measured
  // The row starts of the block last asked for (a query often needs them twice).
  mutable int lastBlock_ = -1;
  mutable QList<int> lastStarts_;
  // The line of the last position asked for.
  LineLookup lines_;
  mutable QTimer warmTimer_;
};

} // namespace tessera
