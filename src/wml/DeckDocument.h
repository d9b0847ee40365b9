#pragma once

#include "wml/ParsedDeck.h"

#include <QString>
#include <libxml/tree.h>

namespace tessera {

// A deck's libxml2 tree as the user agent reads it, or the first error that
// kept the text from being well-formed.
struct DeckDocument {
  wml::ParsedDeck parsed;
  int errorLine = 0;
  QString errorMessage;
  bool ok() const { return parsed.wellFormed(); }
  xmlDoc* tree() const { return parsed.document(); }
};

// The one place the user agent parses deck text (offline, from memory).
DeckDocument readDeckDocument(const QString& text);

} // namespace tessera
