#include "dialogs/ElementBuilders.h"

#include "tools/LinkBuilders.h"

namespace tessera {

Insertion imageWithAltLinkElement(const QString& linkUrl, const QString& source,
                                  const QString& name) {
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
