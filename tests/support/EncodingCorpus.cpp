#include "EncodingCorpus.h"

#include <QRandomGenerator>

namespace corpus {

using Kind = tessera::FileEncoding::Kind;

namespace {

// The breaks are found in units of the encoding's width, so that a UTF-16
// file's bytes are never read as single-byte breaks.
QByteArray withBreaksAsCrLf(const QByteArray& bytes, int markSize, int width, bool bigEndian) {
  const auto unitAt = [&](qsizetype at) -> uint {
    uint unit = 0;
    for (int i = 0; i < width; ++i) {
      const uint byte = uchar(bytes[at + (bigEndian ? i : width - 1 - i)]);
      unit = unit << 8 | byte;
    }
    return unit;
  };
  const auto unitBytes = [&](uint unit) {
    QByteArray out(width, '\0');
    out[bigEndian ? width - 1 : 0] = char(unit);
    return out;
  };
  QByteArray out = bytes.left(markSize);
  for (qsizetype at = markSize; at < bytes.size(); at += width) {
    const uint unit = unitAt(at);
    if (unit == '\r') {
      out += unitBytes('\r') + unitBytes('\n');
      if (at + width < bytes.size() && unitAt(at + width) == '\n')
        at += width;
    } else if (unit == '\n') {
      out += unitBytes('\r') + unitBytes('\n');
    } else {
      out += bytes.mid(at, width);
    }
  }
  return out;
}

int unitWidth(Kind kind) {
  return kind == Kind::Utf16Le || kind == Kind::Utf16Be   ? 2
         : kind == Kind::Utf32Le || kind == Kind::Utf32Be ? 4
                                                          : 1;
}

} // namespace

QByteArray declared(const char* charset, const QByteArray& body) {
  return QByteArray("<?xml version=\"1.0\" encoding=\"") + charset + "\"?>" + body;
}

QByteArray expectedSave(const QByteArray& bytes, const tessera::DecodedFile& file) {
  if (!file.mixedLineBreaks)
    return bytes;
  const Kind kind = file.encoding.kind;
  const int markSize =
      file.encoding.byteOrderMark ? (unitWidth(kind) == 1 ? 3 : unitWidth(kind)) : 0;
  return withBreaksAsCrLf(bytes, markSize, unitWidth(kind),
                          kind == Kind::Utf16Be || kind == Kind::Utf32Be);
}

QList<File> files() {
  QByteArray everyByte;
  for (int b = 0; b < 256; ++b)
    if (b != '\r' && b != '\n')
      everyByte.append(char(b));
  return {
      {"UTF-8 mark", QByteArray("\xEF\xBB\xBF<wml>\r\n\xC3\xA9</wml>\r\n"), "UTF-8"},
      {"UTF-16 LE mark", QByteArray("\xFF\xFE<\0\r\0\n\0\xAC\x20", 10), "UTF-16 LE"},
      {"UTF-16 BE mark, LF", QByteArray("\xFE\xFF\0<\0\n\0\n\x20\xAC", 10), "UTF-16 BE"},
      {"UTF-32 LE mark", QByteArray("\xFF\xFE\0\0\x00\xF6\x01\0\n\0\0\0", 12), "UTF-32 LE"},
      {"UTF-32 BE mark", QByteArray("\0\0\xFE\xFF\0\0\0<", 8), "UTF-32 BE"},
      {"UTF-16 LE, no mark", QByteArray("<\0?\0x\0m\0l\0\r\0\n\0", 14), "UTF-16 LE"},
      {"UTF-16 BE, no mark, no final break", QByteArray("\0<\0?\0\n\0a", 8), "UTF-16 BE"},
      {"ISO-8859-1 declared", declared("ISO-8859-1", "\r\n\x80\x93\xE9\x81\r\n"), "windows-1252"},
      {"ISO-8859-2 declared", declared("ISO-8859-2", "\r\n\xB1\xE6\xF5\xFB\r\n"), "ISO-8859-2"},
      {"ISO-8859-15 declared", declared("ISO-8859-15", "\n\xA4\n"), "ISO-8859-15"},
      {"windows-1250 declared", declared("windows-1250", "\r\n\x8A\x9A\r\n"), "windows-1250"},
      {"windows-1251 declared", declared("windows-1251", "\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\n"),
       "windows-1251"},
      {"KOI8-R declared", declared("KOI8-R", "\n\xF0\xD2\xC9\xD7\xC5\xD4\n"), "KOI8-R"},
      {"Shift_JIS declared", declared("Shift_JIS", "\r\n\x93\xFA\x96\x7B\x8C\xEA\r\n\x82\xA0"),
       "Shift_JIS"},
      {"windows-1252 bytes", QByteArray("N\xE6rme \x93q\x94\r\n"), "windows-1252"},
      {"every byte but breaks", everyByte, "windows-1252"},
      {"invalid UTF-8 beside valid", QByteArray("\xC3\xA9 \xC3(\r\n"), "windows-1252"},
      {"NULs", QByteArray("a\0\0b\r\n\0", 7), "UTF-8"},
      {"LF", QByteArray("<wml>\n</wml>\n"), "UTF-8"},
      {"CR LF", QByteArray("<wml>\r\n</wml>\r\n"), "UTF-8"},
      {"no final break", QByteArray("<wml>\r\n</wml>"), "UTF-8"},
      {"empty", QByteArray(), "UTF-8"},
      {"mixed breaks", QByteArray("a\nb\r\nc\rd\n\re"), "UTF-8"},
      {"mixed breaks in windows-1252", QByteArray("\xE9\r\xE9\n"), "windows-1252"},
      {"mixed breaks in UTF-16",
       QByteArray("\xFF\xFE"
                  "a\0\r\0b\0\n\0",
                  10),
       "UTF-16 LE"},
      {"U+2029 kept as bytes", QByteArray("a\xE2\x80\xA9\r\n"), "windows-1252"},
  };
}

QList<QByteArray> randomFiles(quint32 seed, int count) {
  QRandomGenerator random(seed);
  const QList<QByteArray> starts{
      {},
      QByteArray("\xEF\xBB\xBF"),
      QByteArray("\xFF\xFE"),
      QByteArray("\xFE\xFF"),
      QByteArray("\xFF\xFE\0\0", 4),
      QByteArray("<\0?\0", 4),
      declared("Shift_JIS", {}),
      declared("KOI8-R", {}),
      declared("ISO-8859-2", {}),
      declared("UTF-8", {}),
      declared("ISO-8859-1", {}),
  };
  // Bytes drawn from a small alphabet hit the breaks, NULs and valid
  // multi-byte sequences far more often than uniform bytes would.
  const QByteArray alphabet("\r\n\0a<\xC3\xA9\xE2\x80\xA9\x93\xFA\xFF\xFE\xD8", 16);
  QList<QByteArray> made;
  for (int file = 0; file < count; ++file) {
    QByteArray bytes = starts[random.bounded(int(starts.size()))];
    const int length = random.bounded(40);
    const bool uniform = random.bounded(2) == 0;
    for (int i = 0; i < length; ++i)
      bytes.append(uniform ? char(random.bounded(256))
                           : alphabet[random.bounded(int(alphabet.size()))]);
    made.append(bytes);
  }
  return made;
}

} // namespace corpus
