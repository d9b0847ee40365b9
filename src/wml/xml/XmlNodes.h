#pragma once

#include "wml/WmlVersion.h"

#include <QString>
#include <libxml/tree.h>

#include <vector>

namespace tessera::wml::xml {

// Small readers over a libxml2 tree, so the user agent speaks QString.

inline bool isElement(const xmlNode* node) { return node && node->type == XML_ELEMENT_NODE; }

inline QString name(const xmlNode* node) {
  return node && node->name ? QString::fromUtf8(reinterpret_cast<const char*>(node->name))
                            : QString();
}

inline bool isElement(const xmlNode* node, const char* elementName) {
  return isElement(node) && xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(elementName));
}

// Visits every element below the root, the root too, in document order and
// without recursion: a deck nests as deep as its author likes.
template <typename Visit> void forEachElement(const xmlNode* root, Visit visit) {
  const xmlNode* node = root;
  while (node) {
    if (node->type == XML_ELEMENT_NODE)
      visit(node);
    if (node->children && node->type == XML_ELEMENT_NODE) {
      node = node->children;
      continue;
    }
    while (node && node != root && !node->next)
      node = node->parent;
    if (!node || node == root)
      break;
    node = node->next;
  }
}

// The attribute's value, or a null QString when it is absent (so "absent"
// and "empty" stay apart).
QString attribute(const xmlNode* node, const char* attributeName);
// The WML version the node's document declares (WML 1.1 without a known
// DOCTYPE, as the checker reads it).
WmlVersion versionOf(const xmlNode* node);
bool hasAttribute(const xmlNode* node, const char* attributeName);

std::vector<xmlNode*> childElements(const xmlNode* node);
std::vector<xmlNode*> childElements(const xmlNode* node, const char* elementName);
xmlNode* firstChildElement(const xmlNode* node, const char* elementName);

// A text or CDATA node's characters; an entity reference libxml2 could not
// expand (the DTD is never loaded) becomes the character WML defines for it.
QString textOf(const xmlNode* node);

// Every character below the node, in document order.
QString allText(const xmlNode* node);

} // namespace tessera::wml::xml
