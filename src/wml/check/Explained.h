#pragma once

#include <QByteArray>
#include <QPair>
#include <QSet>

struct _xmlNode;

namespace tessera::wml::check {

// What our own rules already reported, so that the document type's report of
// the same fault at the same place is left out.
struct Explained {
  QSet<QPair<const _xmlNode*, QByteArray>> attributes; // an attribute it does not know
  QSet<const _xmlNode*> elements;                      // an element it does not know
  QSet<const _xmlNode*> contents;                      // a parent whose content it rejects
  QSet<const _xmlNode*> ids;                           // an ID used twice
};

} // namespace tessera::wml::check
