#pragma once

#include <QString>
#include <libxml/tree.h>

#include <memory>

namespace tessera {

struct XmlDocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocFree>;

// A deck's libxml2 tree as the user agent reads it, or the first error that
// kept the text from being well-formed.
struct DeckDocument {
  XmlDocPtr doc;
  int errorLine = 0;
  QString errorMessage;
  bool ok() const { return doc != nullptr; }
};

// The one place the user agent parses deck text: offline, no DTD loaded.
DeckDocument readDeckDocument(const QString& text, const QString& url);

} // namespace tessera
