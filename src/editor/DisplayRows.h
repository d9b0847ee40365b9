#pragma once

#include <QList>

class QPlainTextEdit;
class QTextBlock;

namespace tessera {

// The editor's lines as it displays them: with word wrap off, one per text
// line (block); with word wrap on, one per wrapped row. Positions here are
// the widget's own (a line break counts one).
class DisplayRows {
public:
  explicit DisplayRows(const QPlainTextEdit& edit) : edit_(edit) {}

  int rowCount() const;
  int rowOfQtPosition(int qtPosition) const;
  // Widget position where `row` begins; rows past the end clamp to the last.
  int rowStart(int row) const;
  // Widget positions where `row` begins and ends (end excludes the break).
  void rowRange(int row, int* start, int* end) const;

  // Start offsets (within the block) of every display row of `block`.
  QList<int> rowStartsInBlock(const QTextBlock& block) const;

private:
  bool wrapping() const;
  int rowsInBlock(const QTextBlock& block) const;
  // Finds the block holding `row` and the row's index inside it.
  QTextBlock blockOfRow(int row, int* rowInBlock) const;

  const QPlainTextEdit& edit_;
};

} // namespace tessera
