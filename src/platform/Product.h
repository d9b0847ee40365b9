#pragma once

#include <QString>

// The program's name, version and addresses: every caption, the About box,
// "tessera --version", the comment of a new document and the Help menu's
// addresses take them from here.
namespace tessera {

inline const QString kProgramName = QStringLiteral("WML Tessera");
// The project's version in the build files says the same; a test holds the two together.
inline const QString kProgramVersion = QStringLiteral("1.0.9.9");
// Windows and message boxes carry the name with the first two parts of the version.
inline const QString kProgramTitle =
    kProgramName + QLatin1Char(' ') + kProgramVersion.section(QLatin1Char('.'), 0, 1);
// The full version, as the About box and "tessera --version" show it.
inline const QString kProgramVersionText = kProgramName + QLatin1Char(' ') + kProgramVersion;
inline const QString kProductWebAddress = QStringLiteral("https://wmltessera.org/");
inline const QString kProductMailAddress = QStringLiteral("contact@wmltessera.org");

} // namespace tessera
