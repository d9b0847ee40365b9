#pragma once

#include <QByteArray>

struct _xmlDoc;

// Compiles a parsed WML deck (a libxml2 tree) to WBXML as a WAP gateway
// did for the phones: WBXML 1.1 for WML 1.1 decks (and decks without a
// known DOCTYPE), 1.3 for WML 1.2 and 1.3; the deck's public identifier
// token; the WML token tables for tags, attribute starts and values;
// variable references as EXT_I_0/1/2 (or EXT_T_* from the string table);
// entities as their characters; comments and processing instructions
// dropped; white space collapsed where a phone shows no difference.
namespace tessera::wml::wbxml {

enum class Charset { Utf8, Latin1 };

struct EncodeOptions {
  // Strings used more than once go into the string table once, when that
  // saves bytes; off, every string is written inline (names without a token
  // still go to the table, the only place WBXML has for them).
  bool stringTable = true;
  // ISO-8859-1 (MIBenum 4) for a deck written in it, else UTF-8 (106). A
  // character ISO-8859-1 cannot hold is written as an ENTITY token.
  Charset charset = Charset::Utf8;
};

// An empty result when the document has no root element.
QByteArray encodeDeck(const _xmlDoc* document, const EncodeOptions& options);

// Appends `value` as a WBXML multi-byte unsigned integer.
void appendMultiByte(QByteArray& out, quint32 value);

} // namespace tessera::wml::wbxml
