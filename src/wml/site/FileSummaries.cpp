#include "wml/site/FileSummaries.h"

#include "wml/ParsedDeck.h"
#include "wml/check/CompiledBudget.h"
#include "wml/check/DeckChecker.h"
#include "wml/script/ScriptCompiler.h"
#include "wml/wbxml/DeckCompiler.h"

namespace tessera::wml::site {

namespace {

void readTree(FileSummary& summary, const ParsedDeck& deck) {
  summary.parsed = deck.wellFormed();
  if (!summary.parsed)
    return;
  summary.cardIds = xml::cardIds(deck);
  summary.links = xml::deckLinks(deck);
}

} // namespace

FileSummary deckSummary(const QString& path, const ParsedDeck& deck, QList<Finding> findings) {
  FileSummary summary;
  summary.path = path;
  summary.kind = FileKind::Deck;
  readTree(summary, deck);
  summary.findings = std::move(findings);
  return summary;
}

FileSummary scriptSummary(const QString& path, const script::ScriptCompileResult& compiled) {
  FileSummary summary;
  summary.path = path;
  summary.kind = FileKind::Script;
  summary.findings = compiled.findings;
  summary.interfaceKnown = compiled.interface.parsed;
  summary.externs = compiled.interface.externs;
  summary.access = compiled.interface.access;
  for (const Finding& finding : compiled.findings)
    if (finding.severity == Severity::Error) {
      summary.compileError = finding;
      break;
    }
  return summary;
}

FileSummary summariseDeck(const QString& path, const QString& text, const QString& diskPath,
                          int budget) {
  FileSummary summary;
  summary.path = path;
  summary.kind = FileKind::Deck;
  const ParsedDeck deck = parseDeck(text);
  readTree(summary, deck);
  check::CheckOptions options;
  options.documentPath = diskPath;
  options.checkScriptCalls = false; // the site judges calls from units read once
  summary.findings = check::checkParsedDeck(deck, options);
  // Compiled only for a budget: nothing else asks for the size.
  if (summary.parsed && budget > 0) {
    const wbxml::CompiledDeck compiled = wbxml::compileParsedDeck(deck, text);
    summary.compiledSize = compiled.ok ? int(compiled.bytes.size()) : -1;
    if (const auto over = check::budgetFinding(deck, summary.compiledSize, budget)) {
      summary.findings.append(*over);
      sortByPosition(summary.findings);
    }
  }
  return summary;
}

FileSummary summariseCompiledDeck(const QString& path, const QString& decodedSource, int fileSize,
                                  int budget) {
  FileSummary summary;
  summary.path = path;
  summary.kind = FileKind::CompiledDeck;
  summary.compiledSize = fileSize;
  const ParsedDeck deck = parseDeck(decodedSource);
  readTree(summary, deck);
  if (budget > 0 && fileSize > budget)
    summary.findings.append({{1, 1},
                             Severity::Warning,
                             check::overBudgetMessage(fileSize, budget),
                             QStringLiteral("over-budget")});
  return summary;
}

FileSummary summariseScript(const QString& path, const QString& text) {
  return scriptSummary(path, script::compileScript(text));
}

FileSummary unreadableFile(const QString& path, FileKind kind, const QString& problem) {
  FileSummary summary;
  summary.path = path;
  summary.kind = kind;
  summary.problem = problem;
  return summary;
}

} // namespace tessera::wml::site
