#pragma once

#include <QString>

// The program's name and addresses, written into every generated page and
// opened by the Help menu.
namespace tessera {

inline const QString kProgramTitle = QStringLiteral("WML Tessera 1.0");
// The full version, as the About box and "tessera --version" show it.
inline const QString kProgramVersionText = QStringLiteral("WML Tessera 1.0.9.9");
inline const QString kProductWebAddress = QStringLiteral("https://wmltessera.org/");
inline const QString kProductMailAddress = QStringLiteral("contact@wmltessera.org");

} // namespace tessera
