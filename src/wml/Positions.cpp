#include "wml/Positions.h"

#include <algorithm>
#include <cstring>

namespace tessera::wml {

// --- a line's UTF-16 text and its character columns

int utf16OffsetOfColumn(QStringView line, int column) {
  int offset = 0;
  const int size = int(line.size());
  for (int counted = 1; counted < column && offset < size; ++counted)
    offset +=
        line[offset].isHighSurrogate() && offset + 1 < size && line[offset + 1].isLowSurrogate()
            ? 2
            : 1;
  return offset;
}

int columnOfUtf16Offset(QStringView line, int offset) {
  offset = std::clamp(offset, 0, int(line.size()));
  int column = 1;
  for (int at = 0; at < offset; ++column)
    at +=
        line[at].isHighSurrogate() && at + 1 < line.size() && line[at + 1].isLowSurrogate() ? 2 : 1;
  // An offset inside a pair has stepped over the whole pair: it is the
  // pair's column, not the one after it.
  if (offset > 0 && offset < line.size() && line[offset].isLowSurrogate() &&
      line[offset - 1].isHighSurrogate())
    --column;
  return column;
}

// --- the two counts of a line break

QtPosition qtPositionOf(TextPosition at, int line, QtPosition lineStart, int lineLength) {
  const int offset = at.value - (lineStart.value + line);
  return QtPosition(lineStart.value + std::clamp(offset, 0, lineLength));
}

// --- UTF-8 bytes

namespace {
bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
} // namespace

LineIndex::LineIndex(const QByteArray& utf8) : text_(utf8) {
  starts_.reserve(std::size_t(utf8.size() / 32 + 1));
  starts_.push_back(0);
  const char* begin = utf8.constData();
  const char* end = begin + utf8.size();
  if (!std::memchr(begin, '\r', std::size_t(end - begin))) {
    // The usual text: only LF breaks, found a block at a time.
    for (const char* at = begin; at < end;) {
      const void* found = std::memchr(at, '\n', std::size_t(end - at));
      if (!found)
        break;
      at = static_cast<const char*>(found) + 1;
      starts_.push_back(at - begin);
    }
    return;
  }
  for (const char* at = begin; at < end; ++at) {
    if (*at == '\n' || (*at == '\r' && (at + 1 == end || at[1] != '\n')))
      starts_.push_back(at + 1 - begin);
  }
}

qsizetype LineIndex::lineEnd(int line) const {
  if (line >= lineCount())
    return text_.size();
  qsizetype end = lineStart(line + 1) - 1; // the LF, or a lone CR
  if (end > lineStart(line) && text_[end] == '\n' && text_[end - 1] == '\r')
    --end;
  return end;
}

int LineIndex::lineOfByte(qsizetype offset) const {
  const auto after = std::upper_bound(starts_.cbegin(), starts_.cend(), offset);
  return int(after - starts_.cbegin());
}

LineColumn LineIndex::positionOfByte(qsizetype offset) const {
  offset = std::clamp<qsizetype>(offset, 0, text_.size());
  const int line = lineOfByte(offset);
  const char* data = text_.constData();
  int column = 1;
  for (qsizetype at = lineStart(line); at < offset; ++at)
    if (!isContinuationByte(data[at]))
      ++column;
  return {line, column};
}

qsizetype LineIndex::byteOfPosition(LineColumn place) const {
  const int line = std::clamp(place.line, 1, lineCount());
  const qsizetype end = lineEnd(line);
  const char* data = text_.constData();
  qsizetype at = lineStart(line);
  for (int counted = 1; at < end && counted < place.column; ++counted) {
    ++at;
    while (at < end && isContinuationByte(data[at]))
      ++at;
  }
  return at;
}

} // namespace tessera::wml
