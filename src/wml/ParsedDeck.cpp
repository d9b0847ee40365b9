#include "wml/ParsedDeck.h"

#include "wml/DtdFiles.h"
#include "wml/LibxmlErrors.h"
#include "wml/VariableReferences.h"
#include "wml/syntax/Entities.h"

#include <atomic>
#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

namespace tessera::wml {

namespace {

// What the SAX hooks share during one parse (reached through the context's
// _private field, which entity sub-parsers inherit).
struct ParseState {
  xmlParserCtxtPtr mainContext = nullptr;
  const QByteArray* utf8 = nullptr;
  QList<LibxmlReport> reports;
  qsizetype doctypeOffset = -1;
  bool sawDoctype = false;
  QByteArray publicId;
};

ParseState* stateOf(void* context) {
  return context ? static_cast<ParseState*>(static_cast<xmlParserCtxtPtr>(context)->_private)
                 : nullptr;
}

qsizetype currentOffset(xmlParserCtxtPtr context) {
  const xmlParserInputPtr input = context->input;
  return qsizetype(input->consumed) + (input->cur - input->base);
}

void recordError(void* userData, xmlErrorPtr error) {
  if (ParseState* state = stateOf(userData); state && error)
    state->reports.append(reportOf(*error));
}

// The WML entities beyond XML's own five, for decks whose DOCTYPE gives none.
void declareFallbackEntities(xmlDocPtr document) {
  if (!document)
    return;
  if (!document->intSubset)
    xmlCreateIntSubset(document, BAD_CAST "wml", nullptr, nullptr);
  for (const syntax::NamedEntity& entity : syntax::namedEntities()) {
    if (entity.predefinedByXml)
      continue;
    const QByteArray name(entity.name.data(), qsizetype(entity.name.size()));
    const QByteArray text(entity.utf8.data(), qsizetype(entity.utf8.size()));
    xmlAddDocEntity(document, BAD_CAST name.constData(), XML_INTERNAL_GENERAL_ENTITY, nullptr,
                    nullptr, BAD_CAST text.constData());
  }
}

void startDocument(void* context) {
  xmlSAX2StartDocument(context);
  declareFallbackEntities(static_cast<xmlParserCtxtPtr>(context)->myDoc);
}

void internalSubset(void* context, const xmlChar* name, const xmlChar* externalId,
                    const xmlChar* systemId) {
  xmlSAX2InternalSubset(context, name, externalId, systemId);
  auto* parser = static_cast<xmlParserCtxtPtr>(context);
  const QByteArray publicId(reinterpret_cast<const char*>(externalId));
  if (ParseState* state = stateOf(context); state && parser == state->mainContext) {
    state->doctypeOffset = state->utf8->lastIndexOf("<!DOCTYPE", currentOffset(parser));
    state->sawDoctype = true;
    state->publicId = publicId;
  }
  if (!versionOfPublicIdentifier(publicId))
    declareFallbackEntities(parser->myDoc);
}

void startElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                  const xmlChar* uri, int namespaceCount, const xmlChar** namespaces,
                  int attributeCount, int defaultedCount, const xmlChar** attributes) {
  xmlSAX2StartElementNs(context, localName, prefix, uri, namespaceCount, namespaces, attributeCount,
                        defaultedCount, attributes);
  auto* parser = static_cast<xmlParserCtxtPtr>(context);
  ParseState* state = stateOf(context);
  xmlNodePtr element = parser->node;
  if (!state || parser != state->mainContext || parser->inputNr != 1 || !element ||
      element->_private || !xmlStrEqual(element->name, localName))
    return;
  // The parser stands at the end of the start tag; its "<" is the nearest
  // one before, since a well-formed attribute value holds no "<".
  const char* bytes = state->utf8->constData();
  qsizetype at = std::min(currentOffset(parser), state->utf8->size() - 1);
  while (at > 0 && bytes[at] != '<')
    --at;
  element->_private = reinterpret_cast<void*>(quintptr(at) + 1);
}

void classify(ParsedDeck& deck, QList<Finding>& findings, QList<LibxmlReport>& validity,
              const QList<LibxmlReport>& reports);

} // namespace

void ParsedDeck::DocumentDeleter::operator()(_xmlDoc* document) const { xmlFreeDoc(document); }

ParsedDeck::ParsedDeck() = default;
ParsedDeck::ParsedDeck(ParsedDeck&&) noexcept = default;
ParsedDeck& ParsedDeck::operator=(ParsedDeck&&) noexcept = default;
ParsedDeck::~ParsedDeck() = default;

_xmlNode* ParsedDeck::root() const {
  return document_ ? xmlDocGetRootElement(document_.get()) : nullptr;
}

LineColumn ParsedDeck::doctypePosition() const {
  return doctypeOffset_ >= 0 ? lines_.positionOfByte(doctypeOffset_) : LineColumn{1, 1};
}

qsizetype ParsedDeck::startTagOffset(const _xmlNode* element) const {
  for (const xmlNode* node = element; node; node = node->parent)
    if (node->type == XML_ELEMENT_NODE && node->_private)
      return qsizetype(reinterpret_cast<quintptr>(node->_private) - 1);
  return -1;
}

LineColumn ParsedDeck::position(const _xmlNode* element) const {
  const qsizetype offset = startTagOffset(element);
  if (offset >= 0)
    return lines_.positionOfByte(offset);
  return {element ? int(xmlGetLineNo(element)) : 1, 1};
}

ParsedDeck parseDeck(const QString& text) { return parseDeckUtf8(text.toUtf8()); }

namespace {
std::atomic<quint64> parses{0};
}

quint64 parsesSoFar() { return parses.load(); }

ParsedDeck parseDeckUtf8(const QByteArray& utf8) {
  ++parses;
  installEntityLoader();
  ParsedDeck deck;
  deck.utf8_ = utf8;
  deck.lines_ = LineIndex(utf8);

  // The parser counts only LF as a new line, where the editor and
  // LineIndex break at a lone CR too; XML reads a lone CR as an LF anyway,
  // so it gets one in its place, byte for byte, and its lines are ours.
  QByteArray parsed = utf8;
  for (qsizetype at = parsed.indexOf('\r'); at >= 0; at = parsed.indexOf('\r', at + 1))
    if (at + 1 == parsed.size() || parsed.at(at + 1) != '\n')
      parsed[at] = '\n';
  xmlParserCtxtPtr parser = xmlCreateMemoryParserCtxt(parsed.constData(), int(parsed.size()));
  if (!parser) {
    deck.findings_.append({{1, 1},
                           Severity::Error,
                           QStringLiteral("The deck could not be read."),
                           QStringLiteral("unreadable")});
    return deck;
  }
  ParseState state;
  state.mainContext = parser;
  state.utf8 = &deck.utf8_;
  parser->_private = &state;
  parser->sax->serror = recordError;
  parser->sax->startDocument = startDocument;
  parser->sax->internalSubset = internalSubset;
  parser->sax->startElementNs = startElement;
  parser->vctxt.error = nullptr;
  parser->vctxt.warning = nullptr;
  xmlCtxtUseOptions(parser, XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_DTDLOAD |
                                XML_PARSE_NOENT | XML_PARSE_IGNORE_ENC | XML_PARSE_NOCDATA);
  xmlParseDocument(parser);

  xmlDocPtr document = parser->myDoc;
  parser->myDoc = nullptr;
  const bool wellFormed = parser->wellFormed != 0;
  xmlFreeParserCtxt(parser);
  if (document && !wellFormed) {
    xmlFreeDoc(document);
    document = nullptr;
  }
  // The tree holds UTF-8 whatever the declaration says (the text is handed
  // over as UTF-8, the declaration ignored). Told so: without it libxml2's
  // validator reads the characters of an ID, NAME or NMTOKEN value byte by
  // byte and refuses a card id such as "café" that XML's Name allows.
  if (document && !document->encoding)
    document->encoding = xmlStrdup(reinterpret_cast<const xmlChar*>("UTF-8"));
  deck.document_.reset(document);
  deck.doctypeOffset_ = state.doctypeOffset;
  if (state.sawDoctype) {
    deck.publicId_ = state.publicId;
    const auto version = versionOfPublicIdentifier(deck.publicId_);
    deck.doctypeKind_ = version ? DoctypeKind::Wml : DoctypeKind::Unknown;
    deck.version_ = version.value_or(WmlVersion::Wml11);
  }
  classify(deck, deck.findings_, deck.validityReports_, state.reports);
  if (deck.document_)
    deck.variableFindings_ = findMalformedVariables(deck.utf8_, deck.lines_);
  return deck;
}

namespace {

void classify(ParsedDeck& deck, QList<Finding>& findings, QList<LibxmlReport>& validity,
              const QList<LibxmlReport>& reports) {
  bool brokenBefore = false;
  for (const LibxmlReport& report : reports) {
    if (report.domain == XML_FROM_VALID) {
      validity.append(report);
      continue;
    }
    // Once the parser has recovered from a broken tag or a mismatched end
    // tag it closes the wrong elements: every "not closed" after that is
    // the first fault again, told at the outer tags, not another one.
    const bool structure =
        report.code == XML_ERR_TAG_NAME_MISMATCH || report.code == XML_ERR_TAG_NOT_FINISHED;
    if (brokenBefore && structure)
      continue;
    const bool entity =
        report.code == XML_ERR_UNDECLARED_ENTITY || report.code == XML_WAR_UNDECLARED_ENTITY;
    brokenBefore = brokenBefore || (!entity && report.level >= XML_ERR_ERROR);
    findings.append(findingOfParseReport(report, deck.lines(), deck.utf8()));
  }
}

} // namespace

} // namespace tessera::wml
