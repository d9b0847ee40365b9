#include "wml/WmlVersion.h"

namespace tessera::wml {

QByteArray publicIdentifier(WmlVersion version) {
  return QByteArrayLiteral("-//WAPFORUM//DTD WML ") + versionName(version).toLatin1() +
         QByteArrayLiteral("//EN");
}

std::optional<WmlVersion> versionOfPublicIdentifier(const QByteArray& publicId) {
  for (WmlVersion version : {WmlVersion::Wml11, WmlVersion::Wml12, WmlVersion::Wml13})
    if (publicId == publicIdentifier(version))
      return version;
  return std::nullopt;
}

QString versionName(WmlVersion version) {
  switch (version) {
  case WmlVersion::Wml11: return QStringLiteral("1.1");
  case WmlVersion::Wml12: return QStringLiteral("1.2");
  case WmlVersion::Wml13: return QStringLiteral("1.3");
  }
  return {};
}

} // namespace tessera::wml
