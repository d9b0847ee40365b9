#include "serve/PostedFields.h"

#include "wml/WmlVersion.h"

namespace tessera::serve {
namespace {

// Text as WML character data: markup characters as entities, and '$' doubled
// so that a phone does not read a variable reference in it.
QString wmlText(const QString& text) {
  QString escaped = text.toHtmlEscaped();
  escaped.replace(u'\'', QStringLiteral("&apos;"));
  escaped.replace(u'$', QStringLiteral("$$"));
  return escaped;
}

} // namespace

QString postedFieldsDeck(const QString& path, const QList<FormField>& fields) {
  QString deck = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n") +
                 wml::doctypeDeclaration(wml::WmlVersion::Wml11) +
                 QStringLiteral("\n<wml>\n<card id=\"posted\" title=\"Received\">\n");
  deck += QStringLiteral("<p>POST %1</p>\n<p>").arg(wmlText(path));
  if (fields.isEmpty())
    deck += QStringLiteral("No fields.");
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i > 0)
      deck += QStringLiteral("<br/>\n");
    deck += QStringLiteral("%1 = %2").arg(wmlText(fields.at(i).name), wmlText(fields.at(i).value));
  }
  deck += QStringLiteral("</p>\n<p><anchor>Back<prev/></anchor></p>\n</card>\n</wml>\n");
  return deck;
}

} // namespace tessera::serve
