#include "deck/BinaryDecoding.h"

#include "wml/script/BytecodeVerifier.h"
#include "wml/wbxml/WbxmlDecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QJsonArray>

namespace tessera {

using wml::site::FileKind;

namespace {

QJsonObject inspectPicture(const QByteArray& bytes) {
  QByteArray data = bytes;
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QImage picture = reader.read();
  if (picture.isNull())
    return {
        {QStringLiteral("error"),
         QStringLiteral("not a picture this program can decode (%1)").arg(reader.errorString())}};
  return {{QStringLiteral("width"), picture.width()}, {QStringLiteral("height"), picture.height()}};
}

QJsonObject inspectBytecode(const QByteArray& bytes) {
  const wml::script::VerifyResult loaded = wml::script::loadBytecode(bytes);
  if (!loaded.unit)
    return {{QStringLiteral("error"),
             QStringLiteral("not valid WMLScript bytecode (%1)").arg(loaded.error)}};
  QJsonArray externs;
  for (const wml::script::VerifiedFunction& function : loaded.unit->functions())
    if (!function.name.isEmpty())
      externs.append(QJsonObject{{QStringLiteral("name"), function.name},
                                 {QStringLiteral("parameters"), function.arguments}});
  QJsonObject found{{QStringLiteral("externs"), externs}};
  if (loaded.unit->accessDomain() || loaded.unit->accessPath()) {
    QJsonObject access;
    if (const auto& domain = loaded.unit->accessDomain())
      access.insert(QStringLiteral("domain"), *domain);
    if (const auto& path = loaded.unit->accessPath())
      access.insert(QStringLiteral("path"), *path);
    found.insert(QStringLiteral("access"), access);
  }
  return found;
}

} // namespace

QJsonObject inspectBinary(const QString& file, FileKind kind, const QByteArray& bytes) {
  QJsonObject found;
  switch (kind) {
  case FileKind::CompiledDeck: {
    const wml::wbxml::DecodedDeck decoded = wml::wbxml::decodeDeck(bytes);
    found = decoded.ok ? QJsonObject{{QStringLiteral("source"), decoded.source}}
                       : QJsonObject{{QStringLiteral("error"),
                                      QStringLiteral("not a compiled deck this program can "
                                                     "decode (%1)")
                                          .arg(decoded.error)}};
    break;
  }
  case FileKind::CompiledScript: found = inspectBytecode(bytes); break;
  case FileKind::Picture: found = inspectPicture(bytes); break;
  case FileKind::Deck:
  case FileKind::Script: found = {{QStringLiteral("error"), QStringLiteral("a text file")}}; break;
  }
  found.insert(QStringLiteral("file"), file);
  return found;
}

} // namespace tessera
