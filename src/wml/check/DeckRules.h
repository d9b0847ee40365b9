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

} // namespace tessera::wml::check
