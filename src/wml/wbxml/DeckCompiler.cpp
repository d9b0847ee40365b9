#include "wml/wbxml/DeckCompiler.h"

#include "wml/ParsedDeck.h"
#include "wml/check/DeckRules.h"
#include "wml/syntax/XmlDeclaration.h"

namespace tessera::wml::wbxml {

Charset declaredCharset(const QString& text) {
  const auto declared = syntax::declaredEncoding(QStringView(text));
  return declared && syntax::namesLatin1(declared->label) ? Charset::Latin1 : Charset::Utf8;
}

namespace {

QString firstError(const QList<Finding>& findings) {
  for (const wml::Finding& finding : findings)
    if (finding.severity == wml::Severity::Error)
      return QStringLiteral("%1:%2: %3").arg(finding.line).arg(finding.column).arg(finding.message);
  return {};
}

} // namespace

CompiledDeck compileParsedDeck(const wml::ParsedDeck& deck, const QString& text, bool stringTable) {
  CompiledDeck result;
  if (!deck.wellFormed()) {
    result.error = firstError(deck.findings());
    return result;
  }
  result.wellFormed = true;
  if (const QList<Finding> references = check::checkVariableReferences(deck);
      !references.isEmpty()) {
    result.error = firstError(references);
    return result;
  }
  result.ok = true;
  result.bytes = encodeDeck(deck.document(), EncodeOptions{stringTable, declaredCharset(text)});
  return result;
}

CompiledDeck compileDeckText(const QString& text, bool stringTable) {
  return compileParsedDeck(wml::parseDeck(text), text, stringTable);
}

} // namespace tessera::wml::wbxml
