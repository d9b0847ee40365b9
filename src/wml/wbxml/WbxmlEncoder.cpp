#include "wml/wbxml/WbxmlEncoder.h"

#include "wml/syntax/Entities.h"
#include "wml/wbxml/StringTable.h"
#include "wml/wbxml/VariableSplit.h"
#include "wml/wbxml/WmlTokens.h"

#include <libxml/tree.h>

#include <QStringDecoder>

#include <algorithm>
#include <string>
#include <vector>

namespace tessera::wml::wbxml {
namespace {

std::string_view view(const xmlChar* text) {
  return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

std::string qualifiedName(const xmlNs* ns, const xmlChar* name) {
  std::string result;
  if (ns && ns->prefix) {
    result = view(ns->prefix);
    result += ':';
  }
  result += view(name);
  return result;
}

// The characters an entity reference left unresolved by the parser stands
// for (the XML ones and the two WML adds).
std::string_view entityText(std::string_view name) {
  const syntax::NamedEntity* entity = syntax::namedEntity(name);
  return entity ? entity->utf8 : std::string_view();
}

// The character data of a run of sibling nodes (text, CDATA and entity
// references) or of an attribute's children.
void appendCharacters(std::string& out, const xmlNode* node) {
  if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
    out += view(node->content);
  } else if (node->type == XML_ENTITY_REF_NODE) {
    const std::string_view known = entityText(view(node->name));
    if (!known.empty()) {
      out += known;
    } else if (xmlChar* content = xmlNodeGetContent(node)) {
      out += view(content);
      xmlFree(content);
    }
  }
}

bool isCharacterNode(const xmlNode* node) {
  return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE ||
         node->type == XML_ENTITY_REF_NODE;
}

bool isXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

struct Piece {
  enum Kind { Bytes, String, Variable, Literal };
  Kind kind;
  std::string data;       // raw bytes, a string, a variable's or a literal's name
  std::uint8_t token = 0; // the EXT_I token of a variable, the LITERAL token of a name
};

class DeckWriter {
public:
  DeckWriter(WmlVersion version, const EncodeOptions& options)
      : version_(version), options_(options) {}

  void element(const xmlNode* node, bool preserveSpace);
  QByteArray finish() const;

private:
  void bytes(std::initializer_list<std::uint8_t> values) {
    pieces_.push_back({Piece::Bytes, std::string(values.begin(), values.end())});
  }
  void characters(std::string_view utf8);
  void text(std::string_view utf8, bool inAttribute);
  void attributeValue(std::string_view value);
  void attribute(const xmlAttr* attribute);
  void content(const xmlNode* parent, bool preserveSpace);

  WmlVersion version_;
  EncodeOptions options_;
  std::vector<Piece> pieces_;
};

// Text in the deck's charset; in ISO-8859-1 a character beyond it becomes an
// ENTITY token holding its code.
void DeckWriter::characters(std::string_view utf8) {
  if (utf8.empty())
    return;
  if (options_.charset == Charset::Utf8) {
    pieces_.push_back({Piece::String, std::string(utf8)});
    return;
  }
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  std::string latin;
  const auto flush = [&] {
    if (!latin.empty())
      pieces_.push_back({Piece::String, std::move(latin)});
    latin.clear();
  };
  for (auto it = text.cbegin(); it != text.cend(); ++it) {
    char32_t code = it->unicode();
    if (it->isHighSurrogate() && it + 1 != text.cend() && (it + 1)->isLowSurrogate()) {
      code = QChar::surrogateToUcs4(*it, *(it + 1));
      ++it;
    }
    if (code <= 0xFF) {
      latin += static_cast<char>(code);
      continue;
    }
    flush();
    Piece entity{Piece::Bytes, std::string(1, char(token::Entity))};
    QByteArray number;
    appendMultiByte(number, code);
    entity.data.append(number.constData(), static_cast<std::size_t>(number.size()));
    pieces_.push_back(std::move(entity));
  }
  flush();
}

void DeckWriter::text(std::string_view utf8, bool inAttribute) {
  for (const TextPiece& piece : splitVariables(utf8)) {
    if (!piece.isVariable) {
      if (!inAttribute) {
        characters(piece.text);
        continue;
      }
      // URL pieces and word values have tokens of their own.
      std::size_t start = 0;
      for (std::size_t pos = 0; pos < piece.text.size();) {
        const auto match = attributeValueAt(piece.text, pos);
        if (!match) {
          ++pos;
          continue;
        }
        characters(std::string_view(piece.text).substr(start, pos - start));
        bytes({match->code});
        pos += match->length;
        start = pos;
      }
      characters(std::string_view(piece.text).substr(start));
      continue;
    }
    const std::uint8_t extension = piece.escaping == Escaping::Escaped     ? token::ExtI0
                                   : piece.escaping == Escaping::Unescaped ? token::ExtI1
                                                                           : token::ExtI2;
    pieces_.push_back({Piece::Variable, piece.text, extension});
  }
}

void DeckWriter::attribute(const xmlAttr* attribute) {
  std::string value;
  for (const xmlNode* child = attribute->children; child; child = child->next)
    appendCharacters(value, child);
  const std::string name = qualifiedName(attribute->ns, attribute->name);
  std::string_view rest = value;
  if (const auto start = attributeStart(name, value, version_)) {
    bytes({start->code});
    rest.remove_prefix(start->valuePrefix.size());
  } else {
    pieces_.push_back({Piece::Literal, name, token::Literal});
  }
  text(rest, true);
}

void DeckWriter::content(const xmlNode* parent, bool preserveSpace) {
  const bool elementsOnly = holdsElementsOnly(view(parent->name));
  for (const xmlNode* node = parent->children; node;) {
    if (node->type == XML_ELEMENT_NODE) {
      element(node, preserveSpace);
      node = node->next;
      continue;
    }
    if (!isCharacterNode(node)) { // comments and processing instructions go
      node = node->next;
      continue;
    }
    std::string run;
    for (; node &&
           (isCharacterNode(node) || node->type == XML_COMMENT_NODE || node->type == XML_PI_NODE);
         node = node->next)
      appendCharacters(run, node);
    if (preserveSpace) { // in <pre>, every blank and line break shows
      text(run, false);
      continue;
    }
    const bool blank = std::all_of(run.begin(), run.end(), [](char c) { return isXmlSpace(c); });
    // White space alone in an element that holds no text is not content.
    if (blank && elementsOnly)
      continue;
    // A run of white space alone between two tags that holds a line break is
    // layout of the source: the line break goes, and with it the run.
    if (blank && run.find_first_of("\r\n") != std::string::npos)
      continue;
    // Any other run of white space shows as one blank, so it becomes one;
    // this keeps the blank between a word and an inline element ("a <b>").
    std::string collapsed;
    collapsed.reserve(run.size());
    for (std::size_t i = 0; i < run.size(); ++i) {
      if (!isXmlSpace(run[i])) {
        collapsed += run[i];
        continue;
      }
      collapsed += ' ';
      while (i + 1 < run.size() && isXmlSpace(run[i + 1]))
        ++i;
    }
    text(collapsed, false);
  }
}

void DeckWriter::element(const xmlNode* node, bool preserveSpace) {
  const std::string name = qualifiedName(node->ns, node->name);
  const bool hasAttributes = node->properties != nullptr;
  const std::size_t tagIndex = pieces_.size();
  if (const auto code = tagToken(name, version_))
    bytes({static_cast<std::uint8_t>(*code | (hasAttributes ? token::HasAttributes : 0))});
  else
    pieces_.push_back({Piece::Literal, name,
                       std::uint8_t(token::Literal | (hasAttributes ? token::HasAttributes : 0))});
  bool preserve = preserveSpace || name == "pre";
  for (const xmlAttr* attr = node->properties; attr; attr = attr->next) {
    attribute(attr);
    if (qualifiedName(attr->ns, attr->name) == "xml:space" && attr->children)
      preserve = view(attr->children->content) == "preserve";
  }
  if (hasAttributes)
    bytes({token::End});
  const std::size_t before = pieces_.size();
  content(node, preserve);
  if (pieces_.size() == before)
    return;
  Piece& tag = pieces_[tagIndex];
  if (tag.kind == Piece::Literal)
    tag.token |= token::HasContent;
  else
    tag.data[0] = static_cast<char>(static_cast<std::uint8_t>(tag.data[0]) | token::HasContent);
  bytes({token::End});
}

QByteArray DeckWriter::finish() const {
  std::vector<std::string_view> strings, names, literals;
  for (const Piece& piece : pieces_) {
    if (piece.kind == Piece::String)
      strings.push_back(piece.data);
    else if (piece.kind == Piece::Variable)
      names.push_back(piece.data);
    else if (piece.kind == Piece::Literal)
      literals.push_back(piece.data);
  }
  const StringTable table(strings, names, literals, options_.stringTable);

  const DocumentType& kind = documentType(version_);
  QByteArray out;
  out.append(char(kind.wbxmlVersion));
  appendMultiByte(out, kind.wbxmlPublicId);
  appendMultiByte(out, options_.charset == Charset::Latin1 ? kCharsetLatin1 : kCharsetUtf8);
  appendMultiByte(out, static_cast<quint32>(table.bytes().size()));
  out.append(table.bytes().data(), static_cast<qsizetype>(table.bytes().size()));
  const auto appendInline = [&out](std::string_view text) {
    out.append(text.data(), qsizetype(text.size()));
    out.append('\0');
  };
  for (const Piece& piece : pieces_) {
    switch (piece.kind) {
    case Piece::Bytes: out.append(piece.data.data(), qsizetype(piece.data.size())); break;
    case Piece::Literal:
      out.append(char(piece.token));
      appendMultiByte(out, quint32(table.offsetOf(piece.data)));
      break;
    case Piece::String:
      for (const StringTable::Part& part : table.write(piece.data)) {
        out.append(char(part.fromTable ? token::StrT : token::StrI));
        if (part.fromTable)
          appendMultiByte(out, part.offset);
        else
          appendInline(part.text);
      }
      break;
    case Piece::Variable:
      // EXT_T_n is EXT_I_n with the high bit: the same escaping, from the table.
      if (const std::int64_t offset = table.offsetOf(piece.data); offset >= 0) {
        out.append(char(piece.token - token::ExtI0 + token::ExtT0));
        appendMultiByte(out, quint32(offset));
      } else {
        out.append(char(piece.token));
        appendInline(piece.data);
      }
      break;
    }
  }
  return out;
}

} // namespace

void appendMultiByte(QByteArray& out, quint32 value) {
  char buffer[5];
  int size = 0;
  do {
    buffer[size++] = static_cast<char>(value & 0x7F);
    value >>= 7;
  } while (value);
  for (int i = size - 1; i >= 0; --i)
    out.append(static_cast<char>(buffer[i] | (i > 0 ? 0x80 : 0)));
}

QByteArray encodeDeck(const _xmlDoc* document, const EncodeOptions& options) {
  const xmlNode* root = xmlDocGetRootElement(document);
  if (!root)
    return {};
  WmlVersion version = WmlVersion::Wml11;
  if (const xmlDtd* dtd = xmlGetIntSubset(const_cast<xmlDoc*>(document)); dtd && dtd->ExternalID)
    version = versionOfPublicIdentifier(view(dtd->ExternalID)).value_or(WmlVersion::Wml11);
  DeckWriter writer(version, options);
  writer.element(root, false);
  return writer.finish();
}

} // namespace tessera::wml::wbxml
