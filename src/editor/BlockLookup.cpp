#include "editor/BlockLookup.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace tessera {

BlockAt LineLookup::at(const QTextDocument& document, QtPosition position) const {
  position = std::max(position, QtPosition(0));
  if (known_ &&
      (document_ != &document || !block_.isValid() || block_.length() != length_ ||
       document.blockCount() != blockCount_ || document.characterCount() != characterCount_))
    known_ = false;
  if (known_) {
    if (holds(position))
      return {number_, start_};
    // The line below or above: one step along the list of lines.
    if (position >= start_ + length_) {
      const QTextBlock next = block_.next();
      if (next.isValid() && position < start_ + length_ + next.length()) {
        keep(next, number_ + 1, start_ + length_);
        return {number_, start_};
      }
    } else {
      const QTextBlock previous = block_.previous();
      if (previous.isValid() && position >= start_ - previous.length()) {
        keep(previous, number_ - 1, start_ - previous.length());
        return {number_, start_};
      }
    }
  }
  QTextBlock block = document.findBlock(position.value);
  if (!block.isValid())
    block = document.lastBlock();
  keep(block, block.blockNumber(), QtPosition(block.position()));
  document_ = &document;
  blockCount_ = document.blockCount();
  characterCount_ = document.characterCount();
  known_ = true;
  return {number_, start_};
}

void LineLookup::keep(const QTextBlock& block, int number, QtPosition start) const {
  block_ = block;
  number_ = number;
  start_ = start;
  length_ = block.length();
}

} // namespace tessera
