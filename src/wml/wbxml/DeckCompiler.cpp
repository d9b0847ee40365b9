#include "wml/wbxml/DeckCompiler.h"

#include "wml/ParsedDeck.h"
#include "wml/syntax/XmlDeclaration.h"

#include <algorithm>

namespace tessera::wml::wbxml {

Charset declaredCharset(const QString& text) {
  const auto declared = syntax::declaredEncoding(QStringView(text));
  if (!declared || !syntax::namesLatin1(declared->label))
    return Charset::Utf8;
  // A deck declared ISO-8859-1 that holds windows-1252's characters (read
  // from bytes 0x80-0x9F) or others beyond Latin-1 is written in UTF-8: a
  // phone trusting the charset would show 0x80 as a control, not a euro.
  const bool latin1Only = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
    return c.unicode() < 0x80 || (c.unicode() >= 0xA0 && c.unicode() <= 0xFF);
  });
  return latin1Only ? Charset::Latin1 : Charset::Utf8;
}

namespace {

QString firstError(const QList<Finding>& findings) {
  for (const wml::Finding& finding : findings)
    if (finding.severity == wml::Severity::Error)
      return QStringLiteral("%1:%2: %3")
          .arg(finding.start.line)
          .arg(finding.start.column)
          .arg(finding.message);
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
  if (!deck.variableFindings().isEmpty()) {
    result.error = firstError(deck.variableFindings());
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
