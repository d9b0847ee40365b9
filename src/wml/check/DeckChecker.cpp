#include "wml/check/DeckChecker.h"

#include "wml/check/DeckRules.h"
#include "wml/check/DtdValidation.h"

#include <QSet>

namespace tessera::wml::check {

namespace {

QList<Finding> doctypeFindings(const ParsedDeck& deck) {
  const LineColumn at = deck.doctypePosition();
  switch (deck.doctypeKind()) {
  case DoctypeKind::Missing:
    return {{at, Severity::Warning,
             QStringLiteral("The deck has no DOCTYPE; it is checked as WML 1.1."),
             QStringLiteral("no-doctype")}};
  case DoctypeKind::Unknown:
    return {{at, Severity::Warning,
             QStringLiteral("The DOCTYPE's public identifier \"%1\" is not WML 1.1, 1.2 or 1.3; "
                            "the deck is checked as WML 1.1.")
                 .arg(QString::fromUtf8(deck.publicIdentifier())),
             QStringLiteral("unknown-doctype")}};
  case DoctypeKind::Wml: break;
  }
  return {};
}

void removeRepeats(QList<Finding>& findings) {
  QSet<QString> seen;
  QList<Finding> kept;
  kept.reserve(findings.size());
  for (Finding& finding : findings) {
    const QString key = QStringLiteral("%1:%2:%3")
                            .arg(finding.start.line)
                            .arg(finding.start.column)
                            .arg(finding.message);
    if (!seen.contains(key)) {
      seen.insert(key);
      kept.append(std::move(finding));
    }
  }
  findings = std::move(kept);
}

} // namespace

QList<Finding> checkParsedDeck(const ParsedDeck& deck, const CheckOptions& options) {
  QList<Finding> findings = doctypeFindings(deck);
  findings += deck.findings();
  if (deck.wellFormed()) {
    Explained explained;
    findings += checkTreeRules(deck, options, explained);
    findings += deck.variableFindings();
    findings += validateAgainstDtd(deck, explained);
  }
  sortByPosition(findings);
  removeRepeats(findings);
  return findings;
}

QList<Finding> checkDeck(const QString& text, const CheckOptions& options) {
  return checkParsedDeck(parseDeck(text), options);
}

} // namespace tessera::wml::check
