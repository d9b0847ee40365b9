#pragma once

#include "wml/agent/DeckDocument.h"
#include "wml/agent/ScreenModel.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace tessera::wml::agent {

// The phone's own screens around a card: editing an input and choosing
// from a list.
Screen inputEditScreen(const QString& title, const QString& shownValue, const QString& rule,
                       const QString& refusal);
Screen listScreen(const QString& title, const QStringList& labels, const std::vector<int>& chosen,
                  bool multiple);

// Where each card starts in the deck text (1-based line), so the caret's
// card is found without walking the tree.
struct CardStart {
  int line = 0;
  QString id;
};
std::vector<CardStart> cardStarts(const DeckDocument& deck);
// The id of the card holding the line: the last one starting on or before it.
QString cardAtLine(const std::vector<CardStart>& starts, int line);

} // namespace tessera::wml::agent
