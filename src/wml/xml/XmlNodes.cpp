#include "wml/xml/XmlNodes.h"

#include "wml/syntax/Entities.h"

namespace tessera::wml::xml {

WmlVersion versionOf(const xmlNode* node) {
  const xmlDtd* doctype = node && node->doc ? node->doc->intSubset : nullptr;
  if (!doctype || !doctype->ExternalID)
    return WmlVersion::Wml11;
  return versionOfPublicIdentifier(QByteArray(reinterpret_cast<const char*>(doctype->ExternalID)))
      .value_or(WmlVersion::Wml11);
}

QString attribute(const xmlNode* node, const char* attributeName) {
  if (!isElement(node))
    return {};
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(attributeName));
  if (!value)
    return {};
  QString result = QString::fromUtf8(reinterpret_cast<const char*>(value));
  xmlFree(value);
  if (result.isNull())
    result = QLatin1String("");
  return result;
}

bool hasAttribute(const xmlNode* node, const char* attributeName) {
  return isElement(node) && xmlHasProp(node, reinterpret_cast<const xmlChar*>(attributeName));
}

std::vector<xmlNode*> childElements(const xmlNode* node) {
  std::vector<xmlNode*> result;
  if (!node)
    return result;
  for (xmlNode* child = node->children; child; child = child->next)
    if (isElement(child))
      result.push_back(child);
  return result;
}

std::vector<xmlNode*> childElements(const xmlNode* node, const char* elementName) {
  std::vector<xmlNode*> result;
  if (!node)
    return result;
  for (xmlNode* child = node->children; child; child = child->next)
    if (isElement(child, elementName))
      result.push_back(child);
  return result;
}

xmlNode* firstChildElement(const xmlNode* node, const char* elementName) {
  if (!node)
    return nullptr;
  for (xmlNode* child = node->children; child; child = child->next)
    if (isElement(child, elementName))
      return child;
  return nullptr;
}

static QString namedCharacter(const QString& entity) {
  const syntax::NamedEntity* known = syntax::namedEntity(QStringView(entity));
  return known ? QString(QChar(known->character)) : QString();
}

QString textOf(const xmlNode* node) {
  if (!node)
    return {};
  switch (node->type) {
  case XML_TEXT_NODE:
  case XML_CDATA_SECTION_NODE:
    return node->content ? QString::fromUtf8(reinterpret_cast<const char*>(node->content))
                         : QString();
  case XML_ENTITY_REF_NODE:
    if (node->children && node->children->type == XML_ENTITY_DECL) {
      xmlChar* content = xmlNodeGetContent(const_cast<xmlNode*>(node));
      QString text = QString::fromUtf8(reinterpret_cast<const char*>(content));
      xmlFree(content);
      return text;
    }
    return namedCharacter(name(node));
  default: return {};
  }
}

QString allText(const xmlNode* node) {
  QString text;
  if (!node)
    return text;
  for (const xmlNode* child = node->children; child; child = child->next) {
    if (isElement(child))
      text += allText(child);
    else
      text += textOf(child);
  }
  return text;
}

} // namespace tessera::wml::xml
