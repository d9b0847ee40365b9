#pragma once

#include "wml/wbxml/WbxmlEncoder.h"

#include <QByteArray>
#include <QString>

// Compiles the text of a deck (the editor's snapshot, or a file's text):
// parsed by parseDeck (offline, WML entities known), then encoded.
namespace tessera::wml {
class ParsedDeck;
}

namespace tessera::wml::wbxml {

// A deck is compiled only when it is well-formed and every variable
// reference in it is sound (an encoder must refuse a malformed one).
struct CompiledDeck {
  bool ok = false;
  bool wellFormed = false; // false also when the text could not be parsed at all
  QByteArray bytes;
  QString error; // "line:column: message" of the first fault when not compiled
};

CompiledDeck compileDeckText(const QString& text, bool stringTable = true);
// The same for a deck already parsed from `text`.
CompiledDeck compileParsedDeck(const wml::ParsedDeck& deck, const QString& text,
                               bool stringTable = true);

// ISO-8859-1 when the XML declaration at the start of `text` names it and
// every character of the text is one of ISO-8859-1's printable ones.
Charset declaredCharset(const QString& text);

} // namespace tessera::wml::wbxml
