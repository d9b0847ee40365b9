#pragma once

#include "wml/ParsedDeck.h"

#include <QString>
#include <libxml/tree.h>

namespace tessera::wml::agent {

// A deck's libxml2 tree as the user agent reads it, or the first error that
// kept the text from being well-formed.
struct DeckDocument {
  wml::ParsedDeck parsed;
  int errorLine = 0;
  QString errorMessage;
  bool ok() const { return parsed.wellFormed() && errorMessage.isEmpty(); }
  xmlDoc* tree() const { return parsed.document(); }
};

// Deck text parsed (offline, from memory) for the user agent: decks beside
// the document, which the preview loads as it follows links.
DeckDocument readDeckDocument(const QString& text);
// The same for a deck already parsed (the document's own, parsed once by
// the deck service).
DeckDocument readParsedDeck(wml::ParsedDeck parsed);

} // namespace tessera::wml::agent
