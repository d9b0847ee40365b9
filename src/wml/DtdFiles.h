#pragma once

#include "wml/WmlVersion.h"

#include <QByteArray>
#include <QString>

namespace tessera::wml {

// "wml11.dtd", "wml12.dtd", "wml13.dtd".
QString dtdFileName(WmlVersion version);

// Where the document type of `version` is read from: the data folder beside
// the executable (data/dtd), the installed share/tessera/dtd, else the copy
// compiled into the program (a ":/wml/dtd/..." resource path).
QString dtdPath(WmlVersion version);

// The document type's text, read once per process (thread-safe).
const QByteArray& dtdText(WmlVersion version);

// Makes libxml2 resolve external entities only by the WML public identifiers
// (to our own document types) and refuse everything else: decks are never
// allowed to make the checker read a file or the network. Idempotent.
void installEntityLoader();

} // namespace tessera::wml
