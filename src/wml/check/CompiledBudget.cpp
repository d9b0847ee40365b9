#include "wml/check/CompiledBudget.h"

#include "wml/ParsedDeck.h"

namespace tessera::wml::check {

QString overBudgetMessage(int compiledSize, int budget) {
  return QStringLiteral("Compiled deck is %1 bytes, over the budget of %2 bytes")
      .arg(compiledSize)
      .arg(budget);
}

std::optional<Finding> budgetFinding(const ParsedDeck& deck, int compiledSize, int budget) {
  if (budget <= 0 || compiledSize <= budget || !deck.root())
    return std::nullopt;
  return Finding{deck.position(deck.root()), Severity::Warning,
                 overBudgetMessage(compiledSize, budget), QStringLiteral("over-budget")};
}

} // namespace tessera::wml::check
