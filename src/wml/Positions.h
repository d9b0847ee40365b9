#pragma once

// Places in a text and every conversion between their kinds, in one file:
//
//   TextPosition  a character count from the text's start, a line break
//                 counting two (CR LF), as the file, the status line and
//                 every tool count;
//   QtPosition    the same in the toolkit's text document, where a line
//                 break is one paragraph separator;
//   LineColumn    a 1-based line and a 1-based character column, as
//                 findings, the command line and the problems list give
//                 them (a character outside the Basic Multilingual Plane is
//                 one column, though two UTF-16 units);
//   byte offsets  into the UTF-8 the parser reads, through LineIndex.
//
// The editor finds the line (its block) a place is in; the arithmetic from
// there is here, so that nothing else counts columns or line breaks.

#include <QByteArray>
#include <QStringView>

#include <compare>
#include <vector>

namespace tessera::wml {

// A character count from the text's start. Its kinds are types of their own
// and never mix.
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

// A 1-based line and a 1-based character column; {0, 0} when no place is
// known.
struct LineColumn {
  int line = 0;
  int column = 0;
  bool operator==(const LineColumn&) const = default;
  // Earlier lines first, then earlier columns: the order of the text.
  auto operator<=>(const LineColumn&) const = default;
  bool known() const { return line > 0; }
};

// --- a line's UTF-16 text and its character columns

// The UTF-16 offset in `line` (its text without the break) where the
// character at 1-based `column` starts; the line's end for a column past it,
// 0 for a column before the first.
int utf16OffsetOfColumn(QStringView line, int column);
// The 1-based character column of the UTF-16 offset `offset` in `line`; an
// offset between the halves of a surrogate pair is the pair's column, one
// past the end is the column after the last character, and further ones
// clamp to it.
int columnOfUtf16Offset(QStringView line, int offset);

// --- the two counts of a line break, from the line a place is in

// The place `at` (toolkit count) in the 0-based line `line`: each of the
// `line` breaks before it counts one more.
constexpr TextPosition textPositionOf(QtPosition at, int line) {
  return TextPosition(at.value + line);
}
// The place `at` (a break counting two) in the 0-based line `line`, which
// starts at `lineStart` and holds `lineLength` characters besides its
// break: a place between the CR and the LF of the break, or past the
// line, stays at its end; one before it at its start.
QtPosition qtPositionOf(TextPosition at, int line, QtPosition lineStart, int lineLength);

// --- UTF-8 bytes, as the parser reads them

// The line starts of a UTF-8 text, built once per parse so that a byte
// offset becomes a line and character column without walking the whole
// text again. A line ends at LF, at CR LF (the CR is the line's end) and at
// a lone CR, as the editor breaks lines.
class LineIndex {
public:
  LineIndex() = default;
  explicit LineIndex(const QByteArray& utf8);

  int lineCount() const { return int(starts_.size()); }
  // Byte offset where the 1-based `line` starts.
  qsizetype lineStart(int line) const { return starts_[std::size_t(line - 1)]; }
  // Byte offset where the 1-based `line` ends (its break, or the text's end).
  qsizetype lineEnd(int line) const;
  int lineOfByte(qsizetype offset) const;
  // Offsets past the text clamp to its end.
  LineColumn positionOfByte(qsizetype offset) const;
  // The byte offset of a place; a column past the line's end gives the
  // line's end, a line past the text its last line.
  qsizetype byteOfPosition(LineColumn place) const;

private:
  QByteArray text_;
  std::vector<qsizetype> starts_;
};

} // namespace tessera::wml

namespace tessera {
// Every layer speaks of places in these types.
using wml::columnOfUtf16Offset;
using wml::LineColumn;
using wml::Position;
using wml::QtPosition;
using wml::qtPositionOf;
using wml::TextPosition;
using wml::textPositionOf;
using wml::utf16OffsetOfColumn;
} // namespace tessera
