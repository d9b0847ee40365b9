#pragma once

#include "wml/check/DeckChecker.h"
#include "wml/check/Explained.h"

namespace tessera::wml::check {

// The rules a document type cannot say, over the tree of a well-formed deck:
// card ids, "#card" and local-file links, empty hrefs, timers, soft-key and
// event duplicates, input masks, newer-version features, the root element.
// Records in `explained` what the document type would report again.
QList<Finding> checkTreeRules(const ParsedDeck& deck, const CheckOptions& options,
                              Explained& explained);

// Malformed variable references, found in the text itself so that each is
// placed at its "$": in character data and attribute values, not in
// comments, processing instructions or the DOCTYPE.
QList<Finding> checkVariableReferences(const ParsedDeck& deck);

} // namespace tessera::wml::check
