#pragma once

// Parsing a deck: the entry point every deck feature builds on.
//
//   wml::ParsedDeck deck = wml::parseDeck(snapshotText);   // any thread
//   if (xmlNode* root = deck.root()) { ... walk the libxml2 tree ... }
//   deck.position(element)   // line and column of the element's start tag
//   deck.findings()          // well-formedness errors, with line and column
//
// The text is parsed from memory as UTF-8 (an encoding named in the XML
// declaration is ignored: the text is already decoded), offline: the DOCTYPE's
// system identifier is never fetched; the WML public identifiers resolve to
// our own document types, loaded for their entities (&nbsp; &shy;). Entities
// are replaced by their text in the tree. A deck with no DOCTYPE, or one we do
// not know, still gets &nbsp; and &shy;. Validation against the document
// type is the checker's job (wml/DeckChecker.h).
//
// Elements' `_private` fields hold their start-tag offsets: do not use them.

#include "wml/Finding.h"
#include "wml/LibxmlReport.h"
#include "wml/Positions.h"
#include "wml/WmlVersion.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

struct _xmlDoc;
struct _xmlNode;

namespace tessera::wml {

enum class DoctypeKind { Missing, Unknown, Wml };

class ParsedDeck {
public:
  ParsedDeck();
  ParsedDeck(ParsedDeck&&) noexcept;
  ParsedDeck& operator=(ParsedDeck&&) noexcept;
  ~ParsedDeck();

  // The tree, owned by this object; null when the text is not well-formed.
  _xmlDoc* document() const { return document_.get(); }
  // The root element (<wml> in a sound deck), or null.
  _xmlNode* root() const;
  bool wellFormed() const { return document_ != nullptr; }

  // The DOCTYPE: missing, a public identifier we do not know, or WML 1.x.
  DoctypeKind doctypeKind() const { return doctypeKind_; }
  // The version its DOCTYPE names; 1.1 when it names none.
  WmlVersion version() const { return version_; }
  // The DOCTYPE's public identifier as written (empty when there is none).
  const QByteArray& publicIdentifier() const { return publicId_; }
  // Where "<!DOCTYPE" starts (line 1, column 1 when there is none).
  LineColumn doctypePosition() const;

  // Line and column of an element's start tag ("<" of it). Elements that came
  // from an entity's replacement text get their parent's place.
  LineColumn position(const _xmlNode* element) const;
  // The same, as a byte offset into utf8(); -1 when unknown.
  qsizetype startTagOffset(const _xmlNode* element) const;

  // The bytes that were parsed and their line starts.
  const QByteArray& utf8() const { return utf8_; }
  const LineIndex& lines() const { return lines_; }

  // Well-formedness errors and the parser's warnings (undefined entities
  // among them), in the order the parser met them.
  const QList<Finding>& findings() const { return findings_; }

  // The malformed variable references in a well-formed deck's text (none
  // when it is not well-formed), found once with the parse: the checker
  // reports them, the compiler and the preview refuse a deck that has one.
  const QList<Finding>& variableFindings() const { return variableFindings_; }

  // What the parser reported about validity while it read the document type
  // (such as an ID used twice); the checker turns these into findings.
  const QList<LibxmlReport>& validityReports() const { return validityReports_; }

private:
  friend ParsedDeck parseDeck(const QString& text);
  friend ParsedDeck parseDeckUtf8(const QByteArray& utf8);

  // How many decks this process has parsed so far (any thread), so a test can
  // hold the editor to one parse per revision.
  quint64 parsesSoFar();
  struct DocumentDeleter {
    void operator()(_xmlDoc* document) const;
  };
  std::unique_ptr<_xmlDoc, DocumentDeleter> document_;
  QByteArray utf8_;
  LineIndex lines_;
  DoctypeKind doctypeKind_ = DoctypeKind::Missing;
  WmlVersion version_ = WmlVersion::Wml11;
  QByteArray publicId_;
  qsizetype doctypeOffset_ = -1;
  QList<Finding> findings_;
  QList<Finding> variableFindings_;
  QList<LibxmlReport> validityReports_;
};

// Parses a snapshot of the deck's text (lines broken by '\n'). Reentrant:
// runs on any thread.
ParsedDeck parseDeck(const QString& text);
// The same for text already encoded as UTF-8.
ParsedDeck parseDeckUtf8(const QByteArray& utf8);

// How many decks this process has parsed so far (any thread), so a test can
// hold the editor to one parse per revision.
quint64 parsesSoFar();

} // namespace tessera::wml
