#pragma once

#include "wml/Positions.h"

#include <QTextBlock>

class QTextDocument;

namespace tessera {

// The line (block) holding a position of the document: its number and the
// position it starts at.
struct BlockAt {
  int number = 0;
  QtPosition start;
};

// The line holding a position, found a few steps down the document's tree of
// lines whatever its size (a position past the end gives the last line), and
// remembered: the status line asks for the caret's line on every key and every
// caret move; most of those land in the same line or the one next to it, which
// needs no walk of the tree (a walk near the end of a large document costs
// several times one near its start). The owner calls forget() on every change
// of the text.
class LineLookup {
public:
  BlockAt at(const QTextDocument& document, QtPosition position) const;
  // The line the last at() gave.
  const QTextBlock& block() const { return block_; }
  void forget() const { known_ = false; }

private:
  bool holds(QtPosition position) const {
    return position >= start_ && position < start_ + length_;
  }
  void keep(const QTextBlock& block, int number, QtPosition start) const;

  mutable const QTextDocument* document_ = nullptr;
  mutable bool known_ = false;
  mutable QTextBlock block_;
  mutable int number_ = 0;
  mutable QtPosition start_;
  mutable int length_ = 0; // the line's characters and its break
  // Cheap signs that the text changed without a forget().
  mutable int blockCount_ = 0;
  mutable int characterCount_ = 0;
};

} // namespace tessera
