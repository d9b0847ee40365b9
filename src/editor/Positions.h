#pragma once

namespace tessera {

// A place in the text as a character count from its start. Two kinds exist
// and must never be mixed: the program counts a line break as two characters
// (CR LF, as the file, the status line and every tool count), the toolkit's
// text document counts it as one. Each kind is a type of its own; the only
// conversions between them are in TextDocument.
template <typename Kind> struct Position {
  int value = 0;

  constexpr Position() = default;
  constexpr explicit Position(int v) : value(v) {}

  friend constexpr bool operator==(Position a, Position b) { return a.value == b.value; }
  friend constexpr bool operator!=(Position a, Position b) { return a.value != b.value; }
  friend constexpr bool operator<(Position a, Position b) { return a.value < b.value; }
  friend constexpr bool operator<=(Position a, Position b) { return a.value <= b.value; }
  friend constexpr bool operator>(Position a, Position b) { return a.value > b.value; }
  friend constexpr bool operator>=(Position a, Position b) { return a.value >= b.value; }
  // Moving by a number of characters of the same kind.
  friend constexpr Position operator+(Position p, int n) { return Position(p.value + n); }
  friend constexpr Position operator-(Position p, int n) { return Position(p.value - n); }
  // The number of characters between two places.
  friend constexpr int operator-(Position a, Position b) { return a.value - b.value; }
};

// A line break counts two (CR LF).
using TextPosition = Position<struct CrLfCounted>;
// The toolkit's text document: a line break is one paragraph separator.
using QtPosition = Position<struct SeparatorCounted>;

// A text line (counted from 0) and a column within it (characters from the
// line's start, counted from 0).
struct LineColumn {
  int line = 0;
  int column = 0;
  bool operator==(const LineColumn&) const = default;
};

// Where a 1-based character column of a line falls in its UTF-16 text (a
// character outside the Basic Multilingual Plane counts one column but two
// units); the line's end for a column past it. Checkers count columns in
// characters, the toolkit in units.
template <typename Text> int utf16OffsetOfColumn(const Text& lineText, int column) {
  int offset = 0;
  const int size = int(lineText.size());
  for (int counted = 1; counted < column && offset < size; ++counted)
    offset += lineText.at(offset).isHighSurrogate() && offset + 1 < size ? 2 : 1;
  return offset;
}

} // namespace tessera
