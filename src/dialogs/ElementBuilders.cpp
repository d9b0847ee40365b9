#include "dialogs/ElementBuilders.h"

namespace tessera {

Insertion linkElement(const QString& url, const std::optional<QString>& accessKey,
                      const QString& content) {
  QString text;
  if (accessKey)
    text = QStringLiteral("<a accesskey=\"") + *accessKey + QStringLiteral("\" href=\"") + url +
           QStringLiteral("\">");
  else
    text = QStringLiteral("<a href=\"") + url + QStringLiteral("\">");
  return {text + content + QStringLiteral("</a>"), 0, false};
}

Insertion imageElement(const QString& source, const QString& name) {
  return {QStringLiteral("<img src=\"") + source + QStringLiteral("\" alt=\"") + name +
              QStringLiteral("\"/>"),
          0, false};
}

Insertion imageLinkElement(const QString& linkUrl, const QString& source, const QString& name) {
  return {QStringLiteral("<a href=\"") + linkUrl + QStringLiteral("\">") +
              imageElement(source, name).text + QStringLiteral("</a>"),
          0, false};
}

bool historyHolds(const QStringList& history, const QString& url) {
  for (const QString& item : history)
    if (item.compare(url, Qt::CaseInsensitive) == 0)
      return true;
  return false;
}

} // namespace tessera
