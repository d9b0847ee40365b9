#include "document/FileCodec.h"

#include <QStringDecoder>

namespace tessera {

namespace {
bool everyCrStartsCrLf(QStringView text) {
  for (qsizetype at = text.indexOf(QLatin1Char('\r')); at >= 0;
       at = text.indexOf(QLatin1Char('\r'), at + 2)) {
    if (at + 1 >= text.size() || text[at + 1] != QLatin1Char('\n'))
      return false;
  }
  return true;
}

// The editor keeps its lines apart with U+2029 and takes U+FDD0 and U+FDD1
// for frame marks, so a text holding one of them would come out of the
// editor with a line break in its place.
bool editorCanHold(QStringView text) {
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if (u == 0x2029 || u == 0xFDD0 || u == 0xFDD1)
      return false;
  }
  return true;
}
} // namespace

QString normaliseLineBreaks(const QString& text) {
  // Fast path: most files already use CR LF throughout, or have no CR at all.
  const qsizetype crs = text.count(QLatin1Char('\r'));
  if (crs == 0) {
    if (!text.contains(QLatin1Char('\n')))
      return text;
    QString out = text;
    return out.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  }
  // Already CR LF throughout: keep the text as it is, without a copy.
  if (crs == text.count(QLatin1Char('\n')) && everyCrStartsCrLf(text))
    return text;
  QString out;
  out.reserve(text.size() + text.size() / 16 + 16);
  const QChar* p = text.constData();
  const QChar* const end = p + text.size();
  while (p < end) {
    const QChar* run = p;
    while (p < end && *p != QLatin1Char('\r') && *p != QLatin1Char('\n'))
      ++p;
    out.append(run, p - run);
    if (p == end)
      break;
    if (*p == QLatin1Char('\r') && p + 1 < end && p[1] == QLatin1Char('\n'))
      ++p;
    ++p;
    out.append(QLatin1String("\r\n"));
  }
  return out;
}

DecodedText decodeDocument(const QByteArray& bytes) {
  DecodedText result;
  QStringDecoder utf8(QStringDecoder::Utf8,
                      QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  QString text = utf8.decode(bytes);
  // A text the editor cannot hold as it is is read byte for byte instead,
  // so that saving it writes every byte back unchanged.
  if (utf8.hasError() || !editorCanHold(text)) {
    text = QString::fromLatin1(bytes);
    result.encoding = TextEncoding::Latin1;
  } else {
    result.encoding = TextEncoding::Utf8;
  }
  result.text = normaliseLineBreaks(text);
  return result;
}

QByteArray encodeDocument(const QString& text, TextEncoding encoding) {
  if (encoding == TextEncoding::Latin1) {
    bool fits = true;
    for (QChar c : text) {
      if (c.unicode() > 0xFF) {
        fits = false;
        break;
      }
    }
    if (fits)
      return text.toLatin1();
  }
  return text.toUtf8();
}

} // namespace tessera
