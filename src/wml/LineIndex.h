#pragma once

#include <QByteArray>

#include <vector>

namespace tessera::wml {

// A place in the text: 1-based line and 1-based character column.
struct TextPosition {
  int line = 0;
  int column = 0;
  bool operator==(const TextPosition&) const = default;
};

// The line starts of a UTF-8 text (a line ends at each '\n', as the parser
// counts lines), built once per check so that a byte offset becomes a line
// and a character column without walking the whole text again.
class LineIndex {
public:
  LineIndex() = default;
  explicit LineIndex(const QByteArray& utf8);

  int lineCount() const { return int(starts_.size()); }
  // Byte offset where the 1-based `line` starts.
  qsizetype lineStart(int line) const { return starts_[std::size_t(line - 1)]; }
  int lineOfByte(qsizetype offset) const;
  TextPosition positionOfByte(qsizetype offset) const;
  // The byte offset of a 1-based line and character column; a column past
  // the line's end gives the line's end.
  qsizetype byteOfPosition(int line, int column) const;

private:
  QByteArray text_;
  std::vector<qsizetype> starts_;
};

} // namespace tessera::wml
