#include "tools/TelephonyBuilders.h"

namespace tessera {

static Insertion wtaiLink(const QString& address, const QString& text) {
  return {QStringLiteral("<a href=\"") + address + QStringLiteral("\">") + text +
              QStringLiteral("</a>"),
          0, false};
}

Insertion phoneCallLink(const QString& number, const QString& text) {
  return wtaiLink(QStringLiteral("wtai://wp/mc;") + number, text);
}

Insertion nameListLink(const QString& number, const QString& text,
                       const std::optional<QString>& name) {
  QString address = QStringLiteral("wtai://wp/ap;") + number;
  if (name)
    address += QLatin1Char(';') + *name;
  return wtaiLink(address, text);
}

} // namespace tessera
