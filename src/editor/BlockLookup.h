#pragma once

class QTextDocument;

namespace tessera {

// The line (block) holding a position of the document: its number and the
// position it starts at.
struct BlockAt {
  int number = 0;
  int start = 0;
};

// Runs on every status refresh: a few steps down the document's tree of
// lines, whatever its size. A position past the end gives the last line.
BlockAt blockAt(const QTextDocument& document, int position);

} // namespace tessera
