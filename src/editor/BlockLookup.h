#pragma once

class QTextDocument;

namespace tessera {

// The line (block) holding a position of the document: its number and the
// position it starts at.
struct BlockAt {
  int number = 0;
  int start = 0;
};

// One walk down the document's tree of lines, where findBlock(), then
// blockNumber() and position() on the block, walk it three times. Runs on
// every status refresh. A position past the end gives the last line.
BlockAt blockAt(const QTextDocument& document, int position);

} // namespace tessera
