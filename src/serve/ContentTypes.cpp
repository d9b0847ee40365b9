#include "serve/ContentTypes.h"

#include <QFileInfo>
#include <QHash>

namespace tessera::serve {

QByteArray mediaTypeForFile(const QString& fileName) {
  static const QHash<QString, QByteArray> types{
      {QStringLiteral("wml"), kDeckType},
      {QStringLiteral("wmlc"), kCompiledDeckType},
      {QStringLiteral("wmls"), kScriptType},
      {QStringLiteral("wmlsc"), kCompiledScriptType},
      {QStringLiteral("wbmp"), kWbmpType},
      {QStringLiteral("png"), "image/png"},
      {QStringLiteral("gif"), "image/gif"},
      {QStringLiteral("jpg"), "image/jpeg"},
      {QStringLiteral("jpeg"), "image/jpeg"},
      {QStringLiteral("bmp"), "image/bmp"},
      {QStringLiteral("ico"), "image/vnd.microsoft.icon"},
      {QStringLiteral("txt"), "text/plain"},
      {QStringLiteral("html"), "text/html"},
      {QStringLiteral("htm"), "text/html"},
  };
  return types.value(QFileInfo(fileName).suffix().toLower(), "application/octet-stream");
}

bool isTextType(const QByteArray& mediaType) { return mediaType.startsWith("text/"); }

QByteArray contentTypeHeader(const QByteArray& mediaType, const QByteArray& charset) {
  if (!isTextType(mediaType) || charset.isEmpty())
    return mediaType;
  return mediaType + "; charset=" + charset;
}

} // namespace tessera::serve
