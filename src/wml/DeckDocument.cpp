#include "wml/DeckDocument.h"

namespace tessera {

DeckDocument readDeckDocument(const QString& text) {
  DeckDocument deck;
  deck.parsed = wml::parseDeck(text);
  if (deck.ok())
    return deck;
  deck.errorMessage = QStringLiteral("The deck cannot be read");
  for (const wml::Finding& finding : deck.parsed.findings()) {
    if (finding.severity == wml::Severity::Error) {
      deck.errorLine = finding.line;
      deck.errorMessage = finding.message;
      break;
    }
  }
  return deck;
}

} // namespace tessera
