#pragma once

// Checking a deck: well-formedness, validity against the document type of
// its WML version, and the rules a document type cannot say (card ids, links,
// variables, timers, soft keys, events, input masks, newer-version features).
//
//   QList<wml::Finding> found = wml::checkDeck(text, {documentPath});
//
// Findings come sorted by line and column, one per fault. Reentrant: the
// editor runs it on a worker thread over a snapshot of the text.

#include "wml/Finding.h"
#include "wml/ParsedDeck.h"

namespace tessera::wml::check {

struct CheckOptions {
  // The saved document's file; relative links are looked for beside it.
  // Empty for a document never saved: then no local file is looked for.
  QString documentPath;
  // Whether a call of a unit beside the deck is checked against the unit
  // (read and compiled for each call). The site check turns it off: it
  // judges every call from the units it has read once.
  bool checkScriptCalls = true;
};

QList<Finding> checkDeck(const QString& text, const CheckOptions& options = {});
QList<Finding> checkParsedDeck(const ParsedDeck& deck, const CheckOptions& options = {});

} // namespace tessera::wml::check
