#include "wml/xml/DeckLinks.h"

#include "wml/ParsedDeck.h"
#include "wml/xml/XmlNodes.h"

#include <libxml/tree.h>

#include <cstring>

namespace tessera::wml::xml {

namespace {

QByteArrayView bytes(const xmlChar* text) {
  const char* chars = reinterpret_cast<const char*>(text);
  return QByteArrayView(chars, qsizetype(std::strlen(chars)));
}

} // namespace

bool isLinkAttribute(QByteArrayView element, QByteArrayView attribute) {
  if (attribute == "href")
    return element == "a" || element == "go";
  if (attribute == "ontimer" || attribute == "onenterforward" || attribute == "onenterbackward")
    return element == "card" || element == "template";
  if (attribute == "onpick")
    return element == "option";
  return attribute == "src" && element == "img";
}

QList<DeckLink> deckLinks(const ParsedDeck& deck) {
  QList<DeckLink> links;
  forEachElement(deck.root(), [&](const xmlNode* element) {
    for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next) {
      if (attribute->ns || !isLinkAttribute(bytes(element->name), bytes(attribute->name)))
        continue;
      const QString value = xml::attribute(element, reinterpret_cast<const char*>(attribute->name));
      if (!value.isEmpty())
        links.append({deck.position(element), name(element),
                      QString::fromUtf8(reinterpret_cast<const char*>(attribute->name)), value});
    }
  });
  return links;
}

QStringList cardIds(const ParsedDeck& deck) {
  QStringList ids;
  forEachElement(deck.root(), [&](const xmlNode* element) {
    if (isElement(element, "card") && hasAttribute(element, "id"))
      ids.append(attribute(element, "id"));
  });
  return ids;
}

} // namespace tessera::wml::xml
