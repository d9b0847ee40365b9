#pragma once

#include "wml/wbxml/WmlTokens.h"

#include <QByteArrayView>
#include <QString>

// Turns a compiled WML deck back into WML source. The input is untrusted:
// every length and index is checked, nesting and output size are bounded,
// and the result is always well-formed XML (a name, character or attribute
// that XML cannot hold is an error, never written).
namespace tessera::wml::wbxml {

struct DecodedDeck {
  bool ok = false;
  QString source; // with an XML declaration and the version's DOCTYPE
  QString error;  // why it could not be read, in plain words
  WmlVersion version = WmlVersion::Wml11;
};

DecodedDeck decodeDeck(QByteArrayView bytes);

// A WBXML version byte followed by a WML public identifier (token or
// string): worth trying to decode as a compiled deck.
bool hasCompiledDeckHeader(QByteArrayView bytes);

} // namespace tessera::wml::wbxml
