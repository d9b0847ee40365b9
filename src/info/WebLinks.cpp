#include "info/WebLinks.h"

#include "platform/Desktop.h"
#include "platform/Product.h"

namespace tessera {

QUrl productWebUrl() { return QUrl(kProductWebAddress); }

QUrl productMailUrl() { return QUrl(QStringLiteral("mailto:") + kProductMailAddress); }

QString productWebCaption() {
  QString caption = kProductWebAddress;
  const qsizetype scheme = caption.indexOf(QLatin1String("://"));
  if (scheme >= 0)
    caption.remove(0, scheme + 3);
  return caption;
}

void openProductWebSite(Shell& shell) { shell.openUrl(productWebUrl()); }

void openProductMail(Shell& shell) { shell.openUrl(productMailUrl()); }

} // namespace tessera
