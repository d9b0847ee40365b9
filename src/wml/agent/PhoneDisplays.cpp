#include "wml/agent/PhoneDisplays.h"

namespace tessera::wml::agent {

QString PhoneDisplay::label() const {
  return QStringLiteral("%1 × %2").arg(size.width()).arg(size.height());
}

const std::vector<PhoneDisplay>& phoneDisplays() {
  static const std::vector<PhoneDisplay> displays = {
      {QStringLiteral("96x65"), QSize(96, 65), 9},
      {QStringLiteral("128x128"), QSize(128, 128), 10},
      {QStringLiteral("176x208"), QSize(176, 208), 12},
  };
  return displays;
}

int phoneDisplayNamed(const QString& name) {
  const QString wanted =
      QString(name).remove(u' ').replace(QStringLiteral("×"), QStringLiteral("x"));
  for (size_t i = 0; i < phoneDisplays().size(); ++i)
    if (phoneDisplays()[i].name.compare(wanted, Qt::CaseInsensitive) == 0)
      return int(i);
  return -1;
}

} // namespace tessera::wml::agent
