#pragma once

#include "wml/WbxmlEncoder.h"

#include <QByteArray>
#include <QString>

// Compiles the text of a deck (the editor's snapshot, or a file's text):
// parsed by parseDeck (offline, WML entities known), then encoded.
namespace tessera::wml {
class ParsedDeck;
}

namespace tessera::wbxml {

struct CompiledDeck {
  bool wellFormed = false;
  QByteArray bytes;
  QString error; // the parser's first message when not well-formed
};

CompiledDeck compileDeckText(const QString& text, bool stringTable = true);
// The same for a deck already parsed from `text`.
CompiledDeck compileParsedDeck(const wml::ParsedDeck& deck, const QString& text,
                               bool stringTable = true);

// ISO-8859-1 when the XML declaration at the start of `text` names it.
Charset declaredCharset(const QString& text);

} // namespace tessera::wbxml
