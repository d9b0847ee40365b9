#include "document/TextEncoder.h"

#include "document/IconvConverter.h"
#include "document/Windows1252.h"

#include <QStringEncoder>

#include <optional>

namespace tessera {

using Kind = FileEncoding::Kind;

void UnencodableCharacters::add(char32_t codePoint) {
  ++count;
  if (first.size() < 5)
    first.append(codePoint);
}

QString UnencodableCharacters::firstAsText() const {
  QStringList shown;
  for (char32_t c : first)
    shown.append(QString::fromUcs4(&c, 1));
  return shown.join(QStringLiteral(", "));
}

// The converter behind the encoding: Qt's for the Unicode forms, iconv for
// named charsets, a table for the two single-byte code pages.
struct TextEncoder::Engine {
  std::optional<QStringEncoder> unicode;
  std::optional<ConverterEncoder> converter;
};

namespace {

QByteArray byteOrderMark(Kind kind) {
  switch (kind) {
  case Kind::Utf8: return QByteArray("\xEF\xBB\xBF", 3);
  case Kind::Utf16Le: return QByteArray("\xFF\xFE", 2);
  case Kind::Utf16Be: return QByteArray("\xFE\xFF", 2);
  case Kind::Utf32Le: return QByteArray("\xFF\xFE\0\0", 4);
  case Kind::Utf32Be: return QByteArray("\0\0\xFE\xFF", 4);
  default: return {};
  }
}

} // namespace

TextEncoder::TextEncoder(const FileEncoding& encoding, LineBreakStyle breaks,
                         Unencodable unencodable)
    : encoding_(encoding), breaks_(breaks), policy_(unencodable),
      engine_(std::make_unique<Engine>()) {
  if (const auto form = encoding.unicodeForm())
    // Stateless: pairs split between pieces are joined before the encoder
    // sees them, so one left unpaired at the end of a piece is one indeed.
    engine_->unicode.emplace(*form, QStringConverter::Flag::Stateless);
  else if (encoding.kind == Kind::Converter)
    engine_->converter.emplace(encoding.converterName);
}

TextEncoder::~TextEncoder() = default;

bool TextEncoder::isValid() const { return !engine_->converter || engine_->converter->isOpen(); }

void TextEncoder::start(QByteArray& out) {
  if (encoding_.byteOrderMark)
    out.append(byteOrderMark(encoding_.kind));
}

void TextEncoder::replace(char32_t codePoint, QByteArray& out) {
  unencodable_.add(codePoint);
  if (policy_ == Unencodable::CharacterReference)
    out.append("&#" + QByteArray::number(quint32(codePoint)) + ';');
}

void TextEncoder::append(QStringView text, QByteArray& out) {
  if (heldHighSurrogate_ != 0) {
    const char16_t pair[2] = {heldHighSurrogate_, text.isEmpty() ? char16_t(0) : text[0].unicode()};
    heldHighSurrogate_ = 0;
    const bool joined = QChar::isLowSurrogate(pair[1]);
    encode(QStringView(pair, joined ? 2 : 1), out);
    if (joined)
      text = text.sliced(1);
  }
  if (!text.isEmpty() && text.back().isHighSurrogate()) {
    heldHighSurrogate_ = text.back().unicode();
    text.chop(1);
  }
  encode(text, out);
}

void TextEncoder::encode(QStringView text, QByteArray& out) {
  if (engine_->unicode) {
    // Straight into the output: a save calls this once a line.
    QStringEncoder& encoder = *engine_->unicode;
    const qsizetype had = out.size();
    out.resize(had + encoder.requiredSpace(text.size()));
    char* end = encoder.appendToBuffer(out.data() + had, text);
    out.resize(end - out.constData());
    if (encoder.hasError()) {
      // An unpaired surrogate is no character: written as "?", as
      // QString::toUtf8() does, instead of the encoder's U+FFFD.
      out.resize(had);
      encoder.resetState();
      encodeUnpairedSurrogates(text, out);
    }
    return;
  }
  if (engine_->converter) {
    engine_->converter->encode(text, out, [this](char32_t c, QByteArray& to) { replace(c, to); });
    return;
  }
  const bool latin1 = encoding_.kind == Kind::Latin1;
  const qsizetype had = out.size();
  out.resize(had + text.size());
  char* to = out.data() + had;
  const char16_t* in = text.utf16();
  for (qsizetype i = 0, n = text.size(); i < n; ++i) {
    const char16_t c = in[i];
    const int byte = c < 0x80 ? c : latin1 ? (c <= 0xFF ? c : -1) : windows1252::byteFor(c);
    if (byte >= 0) {
      *to++ = char(byte);
      continue;
    }
    char32_t codePoint = c;
    if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(in[i + 1]))
      codePoint = QChar::surrogateToUcs4(c, in[++i]);
    // The reference may be longer than the room kept for one character.
    const qsizetype written = to - out.data();
    out.resize(written);
    replace(codePoint, out);
    const qsizetype resumed = out.size();
    out.resize(resumed + (n - i - 1));
    to = out.data() + resumed;
  }
  out.resize(to - out.data());
}

void TextEncoder::encodeUnpairedSurrogates(QStringView text, QByteArray& out) {
  QStringEncoder& encoder = *engine_->unicode;
  qsizetype from = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool pair =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    if (pair) {
      ++i;
      continue;
    }
    if (!text[i].isSurrogate())
      continue;
    out.append(QByteArray(encoder.encode(text.sliced(from, i - from))));
    out.append(QByteArray(encoder.encode(QStringView(u"?"))));
    from = i + 1;
  }
  out.append(QByteArray(encoder.encode(text.sliced(from))));
}

void TextEncoder::appendLineBreak(QByteArray& out) {
  append(breaks_ == LineBreakStyle::Lf ? QStringView(u"\n") : QStringView(u"\r\n"), out);
}

void TextEncoder::appendLines(QStringView text, QByteArray& out) {
  qsizetype from = 0;
  for (qsizetype at = text.indexOf(u'\n'); at >= 0; at = text.indexOf(u'\n', from)) {
    const qsizetype lineEnd = at > from && text[at - 1] == u'\r' ? at - 1 : at;
    append(text.sliced(from, lineEnd - from), out);
    appendLineBreak(out);
    from = at + 1;
  }
  append(text.sliced(from), out);
}

void TextEncoder::finish(QByteArray& out) {
  if (heldHighSurrogate_ != 0) {
    const char16_t unpaired = heldHighSurrogate_;
    heldHighSurrogate_ = 0;
    encode(QStringView(&unpaired, 1), out);
  }
  if (engine_->converter)
    engine_->converter->finish(out);
}

QByteArray encodeText(QStringView text, const FileEncoding& encoding, LineBreakStyle breaks,
                      TextEncoder::Unencodable unencodable, UnencodableCharacters* found) {
  TextEncoder encoder(encoding, breaks, unencodable);
  QByteArray bytes;
  bytes.reserve(text.size() + 16);
  encoder.start(bytes);
  encoder.appendLines(text, bytes);
  encoder.finish(bytes);
  if (found)
    *found = encoder.unencodable();
  return bytes;
}

UnencodableCharacters findUnencodable(QStringView text, const FileEncoding& encoding) {
  if (encoding.holdsEveryCharacter())
    return {};
  UnencodableCharacters found;
  encodeText(text, encoding, LineBreakStyle::CrLf, TextEncoder::Unencodable::Count, &found);
  return found;
}

} // namespace tessera
