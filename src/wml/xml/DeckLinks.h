#pragma once

// The links of a deck, read once for every feature that follows them: the
// checker (cards of this deck, files beside it) and the site check (cards of
// other decks, scripts, pictures, what the entry deck reaches).

#include "wml/Positions.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace tessera::wml {
class ParsedDeck;
}

namespace tessera::wml::xml {

// Whether an attribute of an element holds an address the phone loads:
// href of <a> and <go>, the card's and template's ontimer, onenterforward
// and onenterbackward, <option onpick>, <img src>.
bool isLinkAttribute(QByteArrayView element, QByteArrayView attribute);

struct DeckLink {
  LineColumn at; // the element's start tag
  QString element;
  QString attribute;
  QString value; // as written, entities replaced
};

// Every link of a well-formed deck in document order (none otherwise).
QList<DeckLink> deckLinks(const ParsedDeck& deck);

// The ids of the deck's cards, in document order.
QStringList cardIds(const ParsedDeck& deck);

} // namespace tessera::wml::xml
