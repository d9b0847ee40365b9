#pragma once

#include "wml/Finding.h"

#include <optional>

// The phones' limit on a compiled deck: over it, the checker warns at the
// <wml> element.
namespace tessera::wml {
class ParsedDeck;
}

namespace tessera::wml::check {

// "Compiled deck is N bytes, over the budget of M bytes", at the root
// element; nothing when the size is within the budget or there is none
// (budget 0).
std::optional<Finding> budgetFinding(const ParsedDeck& deck, int compiledSize, int budget);

QString overBudgetMessage(int compiledSize, int budget);

} // namespace tessera::wml::check
