#include "wml/DeckCompiler.h"

#include <libxml/parser.h>

#include <QRegularExpression>

namespace tessera::wbxml {

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

CompiledDeck compileDeckText(const QString& text, bool stringTable) {
  CompiledDeck result;
  const QByteArray utf8 = text.toUtf8();
  // The text is already decoded, so it is read as UTF-8 whatever its
  // declaration says; nothing is fetched from the network.
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  if (!context)
    return result;
  xmlDocPtr document = xmlCtxtReadMemory(
      context, utf8.constData(), static_cast<int>(utf8.size()), nullptr, "UTF-8",
      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES);
  if (document && context->wellFormed) {
    result.wellFormed = true;
    result.bytes = encodeDeck(document, EncodeOptions{stringTable, declaredCharset(text)});
  } else if (const xmlError* error = xmlCtxtGetLastError(context); error && error->message) {
    result.error = QString::fromUtf8(error->message).trimmed();
  }
  xmlFreeDoc(document);
  xmlFreeParserCtxt(context);
  return result;
}

} // namespace tessera::wbxml
