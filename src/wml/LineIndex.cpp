#include "wml/LineIndex.h"

#include <algorithm>
#include <cstring>

namespace tessera::wml {

namespace {
bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
} // namespace

LineIndex::LineIndex(const QByteArray& utf8) : text_(utf8) {
  starts_.reserve(std::size_t(utf8.size() / 32 + 1));
  starts_.push_back(0);
  const char* begin = utf8.constData();
  const char* end = begin + utf8.size();
  for (const char* at = begin; at < end;) {
    const void* found = std::memchr(at, '\n', std::size_t(end - at));
    if (!found)
      break;
    at = static_cast<const char*>(found) + 1;
    starts_.push_back(at - begin);
  }
}

int LineIndex::lineOfByte(qsizetype offset) const {
  const auto after = std::upper_bound(starts_.cbegin(), starts_.cend(), offset);
  return int(after - starts_.cbegin());
}

TextPosition LineIndex::positionOfByte(qsizetype offset) const {
  offset = std::clamp<qsizetype>(offset, 0, text_.size());
  const int line = lineOfByte(offset);
  const char* data = text_.constData();
  int column = 1;
  for (qsizetype at = lineStart(line); at < offset; ++at)
    if (!isContinuationByte(data[at]))
      ++column;
  return {line, column};
}

qsizetype LineIndex::byteOfPosition(int line, int column) const {
  line = std::clamp(line, 1, lineCount());
  const qsizetype end = line < lineCount() ? lineStart(line + 1) - 1 : text_.size();
  const char* data = text_.constData();
  qsizetype at = lineStart(line);
  for (int counted = 1; at < end && counted < column; ++counted) {
    ++at;
    while (at < end && isContinuationByte(data[at]))
      ++at;
  }
  return at;
}

} // namespace tessera::wml
