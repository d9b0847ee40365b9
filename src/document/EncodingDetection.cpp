#include "document/EncodingDetection.h"

#include "document/FileCodec.h"
#include "document/IconvConverter.h"
#include "document/LineBreaks.h"
#include "document/TextEncoder.h"
#include "document/Windows1252.h"
#include "wml/syntax/XmlDeclaration.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <optional>

namespace tessera {

using Kind = FileEncoding::Kind;
using Fallback = DecodedFile::Fallback;

namespace {

struct Signature {
  QByteArrayView bytes;
  Kind kind;
  bool isByteOrderMark;
};

// UTF-32 LE's mark begins with UTF-16 LE's: the longer is tried first, the
// shorter when the longer does not read the file.
const std::array kSignatures{
    Signature{QByteArrayView("\xEF\xBB\xBF", 3), Kind::Utf8, true},
    Signature{QByteArrayView("\xFF\xFE\0\0", 4), Kind::Utf32Le, true},
    Signature{QByteArrayView("\0\0\xFE\xFF", 4), Kind::Utf32Be, true},
    Signature{QByteArrayView("\xFF\xFE", 2), Kind::Utf16Le, true},
    Signature{QByteArrayView("\xFE\xFF", 2), Kind::Utf16Be, true},
    // "<?" of an XML declaration without a mark.
    Signature{QByteArrayView("<\0?\0", 4), Kind::Utf16Le, false},
    Signature{QByteArrayView("\0<\0?", 4), Kind::Utf16Be, false},
};

// The text `body` (the bytes after any byte-order mark) reads as, when
// encoding that text again gives back exactly `body`.
std::optional<QString> decodeExactly(QByteArrayView body, const FileEncoding& encoding) {
  if (const auto form = encoding.unicodeForm()) {
    // A second mark after the first is a character of the text.
    QStringDecoder decoder(*form, QStringDecoder::Flag::Stateless |
                                      QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(body);
    if (decoder.hasError())
      return std::nullopt;
    // Qt's UTF-8 decoder refuses every sequence that would not come back
    // the same (overlong forms, surrogates); the wider forms are checked.
    // An unpaired surrogate is no character, though it would be written back.
    if (encoding.kind != Kind::Utf8 &&
        (!QStringView(text).isValidUtf16() ||
         QByteArrayView(QByteArray(QStringEncoder(*form).encode(text))) != body))
      return std::nullopt;
    return text;
  }
  switch (encoding.kind) {
  case Kind::Latin1: return QString::fromLatin1(body);
  case Kind::Windows1252: return windows1252::decode(body);
  default: break;
  }
  std::optional<QString> text = decodeWithConverter(encoding.converterName, body);
  if (!text)
    return std::nullopt;
  // A converter may read two byte sequences as one character.
  TextEncoder encoder(encoding, LineBreakStyle::CrLf);
  QByteArray again;
  again.reserve(body.size());
  encoder.append(*text, again);
  encoder.finish(again);
  if (encoder.unencodable().count > 0 || again != body)
    return std::nullopt;
  return text;
}

// The editor keeps its lines apart with U+2029 and takes U+FDD0 and U+FDD1
// for frame marks, so a text holding one of them would come out of the
// editor with a line break in its place.
char16_t reservedCharacterIn(QStringView text) {
  for (const char16_t c : {char16_t(0x2029), char16_t(0xFDD0), char16_t(0xFDD1)})
    if (text.contains(QChar(c)))
      return c;
  return 0;
}

bool holdsC1Bytes(QByteArrayView bytes) {
  return std::any_of(bytes.begin(), bytes.end(),
                     [](char c) { return quint8(c) >= 0x80 && quint8(c) <= 0x9F; });
}

DecodedFile fallback(QByteArrayView bytes, Fallback reason, const QString& named) {
  DecodedFile file;
  file.text = windows1252::decode(bytes);
  file.encoding = FileEncoding::windows1252();
  file.fallback = reason;
  file.namedEncoding = named;
  return file;
}

// The breaks scanned and made CR LF, after the editor's reserved characters
// have sent the file to the fallback if need be.
DecodedFile finish(QByteArrayView bytes, DecodedFile file) {
  if (file.encoding.kind != Kind::Windows1252) {
    if (const char16_t reserved = reservedCharacterIn(file.text)) {
      file = fallback(bytes, Fallback::ReservedCharacter, file.encoding.displayName());
      file.reservedCharacter = reserved;
    }
  }
  const LineBreakScan breaks = scanLineBreaks(file.text);
  file.lineBreaks = breaks.style;
  file.mixedLineBreaks = breaks.mixed;
  // The counts just taken settle the common kinds without another pass.
  if (breaks.mixed)
    file.text = normaliseLineBreaks(file.text);
  else if (breaks.style == LineBreakStyle::Lf)
    file.text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return file;
}

std::optional<DecodedFile> decodeAs(QByteArrayView body, const FileEncoding& encoding) {
  std::optional<QString> text = decodeExactly(body, encoding);
  if (!text)
    return std::nullopt;
  DecodedFile file;
  file.text = std::move(*text);
  file.encoding = encoding;
  return file;
}

// The first reading the file's own signature (a byte-order mark, or the
// first characters of an XML declaration in UTF-16) allows, if one matches.
std::optional<DecodedFile> decodeBySignature(QByteArrayView bytes, bool* matched, QString* named) {
  for (const Signature& signature : kSignatures) {
    if (!bytes.startsWith(signature.bytes))
      continue;
    if (!*matched)
      *named = FileEncoding::of(signature.kind).displayName();
    *matched = true;
    const qsizetype skip = signature.isByteOrderMark ? signature.bytes.size() : 0;
    if (auto file = decodeAs(bytes.sliced(skip),
                             FileEncoding::of(signature.kind, signature.isByteOrderMark)))
      return file;
  }
  return std::nullopt;
}

} // namespace

namespace {

// The reading decodeFile takes, before the editor's own steps.
DecodedFile detect(const QByteArray& bytes) {
  bool signed_ = false;
  QString named;
  if (auto file = decodeBySignature(bytes, &signed_, &named))
    return std::move(*file);
  if (signed_)
    return fallback(bytes, Fallback::InvalidForSignature, named);

  Fallback unknownDeclaration = Fallback::None;
  if (const auto declared = wml::syntax::declaredEncoding(bytes)) {
    named = QString::fromLatin1(declared->label);
    const FileEncoding encoding = FileEncoding::fromLabel(declared->label);
    const bool readable =
        encoding.kind != Kind::Converter || converterKnows(encoding.converterName);
    if (readable) {
      // A charset whose ASCII is not ASCII cannot have written the
      // declaration that was just read as ASCII.
      // Bytes 0x80-0x9F are controls in ISO-8859-1, which no deck means:
      // they are windows-1252's characters (the euro sign, curly quotes),
      // as web browsers read them.
      if (encoding.kind == Kind::Latin1 && holdsC1Bytes(bytes)) {
        DecodedFile file = fallback(bytes, Fallback::Windows1252Bytes, named);
        file.encoding.declared = encoding.declarationName();
        return file;
      }
      std::optional<DecodedFile> file;
      if (encoding.asciiCompatible())
        file = decodeAs(bytes, encoding);
      if (!file)
        return fallback(bytes, Fallback::InvalidForDeclared, named);
      return std::move(*file);
    }
    unknownDeclaration = Fallback::UnknownDeclaration;
  }

  if (auto file = decodeAs(bytes, FileEncoding::utf8())) {
    file->fallback = unknownDeclaration;
    file->namedEncoding = named;
    return std::move(*file);
  }
  return fallback(bytes,
                  unknownDeclaration == Fallback::None ? Fallback::InvalidUtf8 : unknownDeclaration,
                  named);
}

} // namespace

DecodedFile decodeFile(const QByteArray& bytes) { return finish(bytes, detect(bytes)); }

QString decodeSourceText(const QByteArray& bytes) { return detect(bytes).text; }

DecodedFile decodeFileAs(const QByteArray& bytes, const FileEncoding& chosen) {
  FileEncoding encoding = chosen;
  encoding.byteOrderMark = false;
  qsizetype skip = 0;
  for (const Signature& signature : kSignatures) {
    if (signature.isByteOrderMark && signature.kind == chosen.kind &&
        bytes.startsWith(signature.bytes)) {
      encoding.byteOrderMark = true;
      skip = signature.bytes.size();
      break;
    }
  }
  if (auto file = decodeAs(QByteArrayView(bytes).sliced(skip), encoding))
    return finish(bytes, std::move(*file));
  return finish(bytes, fallback(bytes, Fallback::InvalidForChosen, chosen.displayName()));
}

QString DecodedFile::notice() const {
  QString reason;
  switch (fallback) {
  case Fallback::None: break;
  case Fallback::InvalidUtf8:
    reason = QStringLiteral("This file is not valid UTF-8 and does not name its encoding");
    break;
  case Fallback::InvalidForSignature:
    reason = QStringLiteral("This file begins like %1 but is not valid %1").arg(namedEncoding);
    break;
  case Fallback::UnknownDeclaration:
    reason = QStringLiteral("This file declares the encoding \"%1\", which this system cannot "
                            "convert")
                 .arg(namedEncoding);
    break;
  case Fallback::InvalidForDeclared:
    reason = QStringLiteral("This file declares the encoding \"%1\" but is not valid %1")
                 .arg(namedEncoding);
    break;
  case Fallback::InvalidForChosen:
    reason = QStringLiteral("This file is not valid %1").arg(namedEncoding);
    break;
  case Fallback::Windows1252Bytes:
    reason = QStringLiteral("This file declares %1 but holds bytes that only windows-1252 gives "
                            "characters to (such as \u20AC and curly quotes)")
                 .arg(namedEncoding);
    break;
  case Fallback::ReservedCharacter:
    reason = QStringLiteral("This file holds the character U+%1, which the editor would turn "
                            "into a line break")
                 .arg(QString::number(reservedCharacter, 16).toUpper().rightJustified(4, u'0'));
    break;
  }
  const QString breaks = QStringLiteral("its line breaks are mixed or lone CRs and are written as "
                                        "CR LF");
  QString text;
  if (!reason.isEmpty()) {
    text = QStringLiteral("%1, so it was opened as %2.").arg(reason, encoding.displayName());
    if (encoding.kind == Kind::Windows1252)
      text += mixedLineBreaks
                  ? QStringLiteral(" Saving writes every byte back as it was, except that %1.")
                        .arg(breaks)
                  : QStringLiteral(" Saving writes every byte back as it was.");
    else if (mixedLineBreaks)
      text += QStringLiteral(" On saving, %1.").arg(breaks);
  } else if (mixedLineBreaks) {
    text = QStringLiteral("This file's line breaks are mixed or lone CRs: saving writes each as "
                          "CR LF.");
  }
  return text;
}

} // namespace tessera
