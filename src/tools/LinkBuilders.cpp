#include "tools/LinkBuilders.h"

namespace tessera {

Insertion linkElement(const QString& url, const QString& text,
                      const std::optional<QString>& accessKey) {
  QString start = QStringLiteral("<a");
  if (accessKey)
    start += QStringLiteral(" accesskey=\"") + *accessKey + QLatin1Char('"');
  return {start + QStringLiteral(" href=\"") + url + QStringLiteral("\">") + text +
              QStringLiteral("</a>"),
          0, false};
}

Insertion imageElement(const QString& url, const QString& alt) {
  return {QStringLiteral("<img src=\"") + url + QStringLiteral("\" alt=\"") + alt +
              QStringLiteral("\"/>"),
          0, false};
}

Insertion imageLinkElement(const QString& imageUrl, const QString& linkUrl) {
  return {QStringLiteral("<a href=\"") + linkUrl + QStringLiteral("\"><img src=\"") + imageUrl +
              QStringLiteral("\"/></a>"),
          0, false};
}

} // namespace tessera
