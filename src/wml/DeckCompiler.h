#pragma once

#include "wml/WbxmlEncoder.h"

#include <QByteArray>
#include <QString>

// Compiles the text of a deck (the editor's snapshot, or a file's text):
// parsed with libxml2 offline, then encoded.
namespace tessera::wbxml {

struct CompiledDeck {
  bool wellFormed = false;
  QByteArray bytes;
  QString error; // libxml2's first message when not well-formed
};

CompiledDeck compileDeckText(const QString& text, bool stringTable = true);

// ISO-8859-1 when the XML declaration at the start of `text` names it.
Charset declaredCharset(const QString& text);

} // namespace tessera::wbxml
