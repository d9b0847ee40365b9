#include "document/Windows1252.h"

#include <array>

namespace tessera::windows1252 {

namespace {

// Characters of the bytes 0x80 to 0x9F; the rest are Latin-1's.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

QString decode(QByteArrayView bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  char16_t* out = reinterpret_cast<char16_t*>(text.data());
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  for (qsizetype i = 0, n = bytes.size(); i < n; ++i) {
    const unsigned char b = in[i];
    out[i] = (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : char16_t(b);
  }
  return text;
}

int byteFor(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
    return c;
  for (int i = 0; i < int(kHighControls.size()); ++i)
    if (kHighControls[i] == c)
      return 0x80 + i;
  return -1;
}

} // namespace tessera::windows1252
