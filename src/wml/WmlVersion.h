#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tessera::wml {

enum class WmlVersion { Wml11, Wml12, Wml13 };

// "-//WAPFORUM//DTD WML 1.1//EN" and its 1.2 and 1.3 siblings.
QByteArray publicIdentifier(WmlVersion version);
std::optional<WmlVersion> versionOfPublicIdentifier(const QByteArray& publicId);
// "1.1", "1.2", "1.3".
QString versionName(WmlVersion version);

} // namespace tessera::wml
