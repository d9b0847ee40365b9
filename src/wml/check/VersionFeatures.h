#pragma once

#include "wml/WmlVersion.h"

#include <QByteArrayView>

#include <optional>

namespace tessera::wml::check {

// The WML version that introduced an element (attribute empty) or an
// attribute of an element; nothing for what WML 1.1 already had.
std::optional<WmlVersion> introducedIn(QByteArrayView element, QByteArrayView attribute = {});

} // namespace tessera::wml::check
