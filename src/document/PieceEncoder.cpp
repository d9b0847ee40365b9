#include "document/PieceEncoder.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tessera {

namespace {
constexpr char16_t kSeparator = 0x2029;

bool isHigh(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool isLow(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

} // namespace

char* PieceEncoder::encode(QStringView text, char* out, const QChar* readable) {
  const char16_t* in = text.utf16();
  const char16_t* const end = in + text.size();
  const char16_t* const readUpTo = reinterpret_cast<const char16_t*>(readable);
  const char16_t* const limit = readUpTo && readUpTo > end ? readUpTo : end;
  if (pendingHigh_ != 0 && in < end) {
    const char16_t high = pendingHigh_;
    pendingHigh_ = 0;
    out = encodeSlow(high, in, end, out);
  }
  while (in < end) {
#if defined(__SSE2__)
    // Most of a WML document is ASCII in short lines: sixteen characters are
    // narrowed at a time and line breaks are taken without leaving the loop.
    // Bytes stored past an ASCII run are overwritten by what follows it.
    const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    while (in < end && limit - in >= 16) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 8));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(a, b));
      // Two mask bits per character, set where the character is ASCII.
      const quint32 ascii =
          quint32(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(a, nonAscii), zero))) |
          quint32(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(b, nonAscii), zero))) << 16;
      const qsizetype left = end - in;
      if (ascii == 0xFFFFFFFFu && left > 16) {
        in += 16;
        out += 16;
        continue;
      }
      const qsizetype run = std::min<qsizetype>(std::countr_one(ascii) / 2, left);
      in += run;
      out += run;
      if (in == end)
        break;
      const char16_t c = *in++;
      if (c == kSeparator) {
        if (!lf_)
          *out++ = '\r';
        *out++ = '\n';
      } else {
        out = encodeSlow(c, in, end, out);
      }
    }
#endif
    while (in < end && *in < 0x80)
      *out++ = char(*in++);
    if (in < end) {
      const char16_t c = *in++;
      out = encodeSlow(c, in, end, out);
    }
  }
  return out;
}

char* PieceEncoder::encodeSlow(char16_t c, const char16_t*& next, const char16_t* end, char* out) {
  if (c == kSeparator) {
    if (!lf_)
      *out++ = '\r';
    *out++ = '\n';
  } else if (latin1_) {
    *out++ = c <= 0xFF ? char(c) : '?';
  } else if (c < 0x80) {
    *out++ = char(c);
  } else if (c < 0x800) {
    *out++ = char(0xC0 | (c >> 6));
    *out++ = char(0x80 | (c & 0x3F));
  } else if (isHigh(c)) {
    if (next == end) {
      pendingHigh_ = c; // its other half may open the next piece
    } else if (isLow(*next)) {
      const char32_t u = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(*next++) - 0xDC00);
      *out++ = char(0xF0 | (u >> 18));
      *out++ = char(0x80 | ((u >> 12) & 0x3F));
      *out++ = char(0x80 | ((u >> 6) & 0x3F));
      *out++ = char(0x80 | (u & 0x3F));
    } else {
      *out++ = '?';
    }
  } else if (isLow(c)) {
    *out++ = '?';
  } else {
    *out++ = char(0xE0 | (c >> 12));
    *out++ = char(0x80 | ((c >> 6) & 0x3F));
    *out++ = char(0x80 | (c & 0x3F));
  }
  return out;
}

char* PieceEncoder::finish(char* out) {
  if (pendingHigh_ != 0) {
    pendingHigh_ = 0;
    *out++ = '?';
  }
  return out;
}

} // namespace tessera
