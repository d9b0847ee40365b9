#include "wml/agent/DeckDocument.h"

namespace tessera::wml::agent {

DeckDocument readDeckDocument(const QString& text) { return readParsedDeck(wml::parseDeck(text)); }

DeckDocument readParsedDeck(wml::ParsedDeck parsed) {
  DeckDocument deck;
  deck.parsed = std::move(parsed);
  if (deck.parsed.wellFormed()) {
    // A phone shows an error for a deck its gateway could not encode.
    const QList<Finding>& references = deck.parsed.variableFindings();
    if (!references.isEmpty()) {
      deck.errorLine = references.first().start.line;
      deck.errorMessage = references.first().message;
    }
    return deck;
  }
  deck.errorMessage = QStringLiteral("The deck cannot be read");
  for (const wml::Finding& finding : deck.parsed.findings()) {
    if (finding.severity == wml::Severity::Error) {
      deck.errorLine = finding.start.line;
      deck.errorMessage = finding.message;
      break;
    }
  }
  return deck;
}

} // namespace tessera::wml::agent
