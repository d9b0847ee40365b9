#include "wml/wbxml/DeckCompiler.h"

#include "wml/ParsedDeck.h"
#include "wml/check/DeckRules.h"

#include <QRegularExpression>

namespace tessera::wml::wbxml {

Charset declaredCharset(const QString& text) {
  static const QRegularExpression declaration(
      QStringLiteral(R"(^\x{FEFF}?<\?xml[^>]*\bencoding\s*=\s*["']([^"']*)["'])"));
  const QRegularExpressionMatch match = declaration.match(QStringView(text).left(256));
  if (!match.hasMatch())
    return Charset::Utf8;
  const QString name = match.captured(1).toLower();
  static const QStringList latin1{QStringLiteral("iso-8859-1"), QStringLiteral("iso_8859-1"),
                                  QStringLiteral("iso8859-1"),  QStringLiteral("latin1"),
                                  QStringLiteral("latin-1"),    QStringLiteral("l1")};
  return latin1.contains(name) ? Charset::Latin1 : Charset::Utf8;
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
