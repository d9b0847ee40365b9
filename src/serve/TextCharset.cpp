#include "serve/TextCharset.h"

#include "wml/syntax/XmlDeclaration.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tessera::serve {

QByteArray charsetOf(const QByteArray& bytes) {
  if (const auto marked = QStringConverter::encodingForData(bytes))
    return QByteArray(QStringConverter::nameForEncoding(*marked)).toLower();
  const auto declared = wml::syntax::declaredEncoding(bytes);
  return declared ? declared->label.toLower() : QByteArray("utf-8");
}

std::optional<QString> decodeText(const QByteArray& bytes, const QByteArray& charset) {
  QStringDecoder decoder(charset.constData(), QStringConverter::Flag::Stateless);
  if (!decoder.isValid())
    return std::nullopt;
  QString text = decoder.decode(bytes);
  if (decoder.hasError())
    return std::nullopt;
  return text;
}

std::optional<QByteArray> encodeText(const QString& text, const QByteArray& charset) {
  QStringEncoder encoder(charset.constData(), QStringConverter::Flag::Stateless);
  if (!encoder.isValid())
    return std::nullopt;
  QByteArray bytes = encoder.encode(text);
  // Some of the toolkit's encoders put '?' for what they cannot write
  // without reporting it: only text that reads back the same counts.
  if (encoder.hasError() || decodeText(bytes, charset) != text)
    return std::nullopt;
  return bytes;
}

} // namespace tessera::serve
