#include "wml/wbxml/WbxmlDecoder.h"

#include "wml/syntax/Entities.h"
#include "wml/syntax/VariableReference.h"
#include "wml/wbxml/VariableSplit.h"

#include <QSet>
#include <QStringDecoder>

#include <stdexcept>

namespace tessera::wml::wbxml {
namespace {

constexpr int kMaxDepth = 256;
constexpr qsizetype kMaxOutput = 64 * 1024 * 1024;

struct Malformed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const char* reason) { throw Malformed(reason); }

struct Header {
  std::uint8_t version = 0;
  std::uint32_t publicIdToken = 0;
  std::uint32_t publicIdIndex = 0;
  std::uint32_t charset = kCharsetUtf8;
  QByteArrayView table;
};

class Reader {
public:
  explicit Reader(QByteArrayView bytes) : bytes_(bytes) {}
  bool atEnd() const { return pos_ >= bytes_.size(); }
  std::uint8_t peek() const {
    if (atEnd())
      fail("the file ends in the middle of the deck");
    return static_cast<std::uint8_t>(bytes_[pos_]);
  }
  std::uint8_t next() {
    const std::uint8_t value = peek();
    ++pos_;
    return value;
  }
  std::uint32_t multiByte() {
    std::uint64_t value = 0;
    for (int i = 0; i < 5; ++i) {
      const std::uint8_t byte = next();
      value = (value << 7) | (byte & 0x7F);
      if (!(byte & 0x80)) {
        if (value > 0xFFFFFFFFu)
          fail("a number is too large");
        return static_cast<std::uint32_t>(value);
      }
    }
    fail("a number is too long");
  }
  QByteArrayView terminated() {
    const qsizetype end = bytes_.indexOf('\0', pos_);
    if (end < 0)
      fail("a string has no end");
    const QByteArrayView text = bytes_.sliced(pos_, end - pos_);
    pos_ = end + 1;
    return text;
  }
  QByteArrayView take(std::uint32_t length) {
    if (length > static_cast<std::uint64_t>(bytes_.size() - pos_))
      fail("the string table runs past the end of the file");
    const QByteArrayView part = bytes_.sliced(pos_, length);
    pos_ += length;
    return part;
  }

private:
  QByteArrayView bytes_;
  qsizetype pos_ = 0;
};

Header readHeader(Reader& in) {
  Header header;
  header.version = in.next();
  if (header.version > 0x03)
    fail("it is not WBXML (unknown version byte)");
  header.publicIdToken = in.multiByte();
  if (header.publicIdToken == 0)
    header.publicIdIndex = in.multiByte();
  if (header.version >= 0x01)
    header.charset = in.multiByte();
  header.table = in.take(in.multiByte());
  return header;
}

QByteArrayView tableString(const Header& header, std::uint32_t index) {
  if (index >= static_cast<std::uint64_t>(header.table.size()))
    fail("a string table reference points past the table");
  const qsizetype end = header.table.indexOf('\0', index);
  if (end < 0)
    fail("a string in the string table has no end");
  return header.table.sliced(index, end - index);
}

std::optional<WmlVersion> deckVersion(const Header& header) {
  if (header.publicIdToken != 0)
    return versionOfWbxmlPublicId(header.publicIdToken);
  const QByteArrayView id = tableString(header, header.publicIdIndex);
  return versionOfPublicIdentifier(
      std::string_view(id.data(), static_cast<std::size_t>(id.size())));
}

bool isXmlChar(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool isNameStart(QChar c) { return c.isLetter() || c == u'_' || c == u':'; }
bool isName(const QString& name) {
  if (name.isEmpty() || !isNameStart(name.front()))
    return false;
  for (QChar c : name)
    if (!(isNameStart(c) || c.isDigit() || c == u'-' || c == u'.'))
      return false;
  return true;
}

class DeckReader {
public:
  DeckReader(Reader& in, const Header& header) : in_(in), header_(header) {}

  void element(int depth, bool preserveSpace);
  QString& out() { return out_; }

private:
  QString decodeString(QByteArrayView bytes) const;
  QString inlineOrTable(std::uint8_t token);
  void switchPage() {
    if (in_.multiByte() != 0)
      fail("it uses a code page WML does not have");
  }
  void write(QStringView text) {
    if (out_.size() + text.size() > kMaxOutput)
      fail("the decoded deck would be too large");
    out_ += text;
  }
  void writeEscaped(const QString& text, bool inAttribute);
  void writeVariable(std::uint8_t token, const QString& name);
  void attributes();
  void newline(int depth) {
    write(u"\n");
    write(QString(depth * 2, u' '));
  }

  Reader& in_;
  const Header& header_;
  QString out_;
};

QString DeckReader::decodeString(QByteArrayView bytes) const {
  QString text;
  if (header_.charset == kCharsetLatin1) {
    text = QString::fromLatin1(bytes);
  } else if (header_.charset == kCharsetUsAscii) {
    for (char c : bytes)
      if (static_cast<unsigned char>(c) > 0x7F)
        fail("a string is not US-ASCII as the deck says");
    text = QString::fromLatin1(bytes);
  } else if (header_.charset == kCharsetUtf8 || header_.charset == 0) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = utf8(bytes);
    if (utf8.hasError())
      fail("a string is not valid UTF-8");
  } else {
    fail("its character set is not one this program reads (UTF-8, ISO-8859-1, US-ASCII)");
  }
  for (auto it = text.cbegin(); it != text.cend(); ++it) {
    char32_t code = it->unicode();
    if (it->isHighSurrogate() && it + 1 != text.cend() && (it + 1)->isLowSurrogate()) {
      code = QChar::surrogateToUcs4(*it, *(it + 1));
      ++it;
    } else if (it->isSurrogate())
      fail("a string holds a character XML cannot hold");
    if (!isXmlChar(code))
      fail("a string holds a character XML cannot hold");
  }
  return text;
}

QString DeckReader::inlineOrTable(std::uint8_t token) {
  if (token == token::StrI || (token >= token::ExtI0 && token <= token::ExtI2))
    return decodeString(in_.terminated());
  return decodeString(tableString(header_, in_.multiByte()));
}

void DeckReader::writeEscaped(const QString& text, bool inAttribute) {
  QString escaped;
  escaped.reserve(text.size());
  for (QChar c : text) {
    switch (c.unicode()) {
    case u'&': escaped += u"&amp;"; break;
    case u'<': escaped += u"&lt;"; break;
    case u'>': escaped += u"&gt;"; break;
    case u'$': escaped += u"$$"; break;
    case u'\r': escaped += u"&#13;"; break;
    case u'"': escaped += inAttribute ? u"&quot;" : u"\""; break;
    case u'\n': escaped += inAttribute ? u"&#10;" : u"\n"; break;
    case u'\t': escaped += inAttribute ? u"&#9;" : u"\t"; break;
    default:
      if (const syntax::NamedEntity* entity = syntax::wmlEntityFor(c.unicode()))
        escaped += u'&' + QLatin1String(entity->name.data(), qsizetype(entity->name.size())) + u';';
      else
        escaped += c;
    }
  }
  write(escaped);
}

void DeckReader::writeVariable(std::uint8_t token, const QString& name) {
  if (!syntax::isVariableName(name.toStdString()))
    fail("a variable reference has no valid name");
  const std::uint8_t kind = token & 0x03; // EXT_I_n and EXT_T_n share the low bits
  write(u"$(");
  write(name);
  write(kind == 0 ? u":e)" : kind == 1 ? u":u)" : u")");
}

void DeckReader::attributes() {
  QSet<QString> seen;
  std::uint8_t token = in_.next();
  while (token != token::End) {
    QString name;
    QString prefix;
    if (token == token::SwitchPage) {
      switchPage();
      token = in_.next();
      continue;
    }
    if (token == token::Literal) {
      name = decodeString(tableString(header_, in_.multiByte()));
    } else if (const auto start = attributeStartOf(token); start && token < 0x80) {
      name = QString::fromLatin1(start->name.data(), qsizetype(start->name.size()));
      prefix = QString::fromLatin1(start->valuePrefix.data(), qsizetype(start->valuePrefix.size()));
    } else {
      fail("an attribute token is not one of WML's");
    }
    if (!isName(name))
      fail("an attribute name is not a valid XML name");
    if (seen.contains(name))
      fail("an attribute is given twice in one element");
    seen.insert(name);
    write(u" ");
    write(name);
    write(u"=\"");
    writeEscaped(prefix, true);
    // The value: strings, entities, variables and value tokens, up to the
    // next attribute start or END.
    for (token = in_.next();; token = in_.next()) {
      if (token == token::SwitchPage) {
        switchPage();
      } else if (token == token::StrI || token == token::StrT) {
        writeEscaped(inlineOrTable(token), true);
      } else if (token == token::Entity) {
        const std::uint32_t code = in_.multiByte();
        if (!isXmlChar(code))
          fail("an entity is not a character XML can hold");
        writeEscaped(QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1), true);
      } else if ((token >= token::ExtI0 && token <= token::ExtI2) ||
                 (token >= token::ExtT0 && token <= token::ExtT2)) {
        writeVariable(token, inlineOrTable(token));
      } else if (token > token::LiteralA && token < token::Ext0) {
        const auto value = attributeValueOf(token);
        if (!value)
          fail("an attribute value token is not one of WML's");
        writeEscaped(QString::fromLatin1(value->data(), qsizetype(value->size())), true);
      } else if (token == token::End ||
                 (token < 0x80 && token != token::Pi && token != token::LiteralC)) {
        break; // END or the next attribute's start
      } else {
        fail("an attribute holds a token WML does not use there");
      }
    }
    write(u"\"");
  }
}

void DeckReader::element(int depth, bool preserveSpace) {
  if (depth > kMaxDepth)
    fail("its elements are nested too deeply");
  std::uint8_t token = in_.next();
  while (token == token::SwitchPage) {
    switchPage();
    token = in_.next();
  }
  const std::uint8_t code = token & 0x3F;
  QString name;
  if (code == token::Literal) {
    name = decodeString(tableString(header_, in_.multiByte()));
    if (!isName(name))
      fail("an element name is not a valid XML name");
  } else if (const auto known = tagName(code)) {
    name = QString::fromLatin1(known->data(), qsizetype(known->size()));
  } else {
    fail("a tag token is not one of WML's");
  }
  write(u"<");
  write(name);
  if (token & token::HasAttributes)
    attributes();
  if (!(token & token::HasContent)) {
    write(u"/>");
    return;
  }
  write(u">");
  // Line breaks and indentation go only between two tags of an element that
  // holds elements only, where a compiler drops them again.
  const bool preserve = preserveSpace || name == u"pre";
  const bool indent = !preserve && holdsElementsOnly(name.toStdString());
  bool lastWasElement = false;
  bool any = false;
  for (token = in_.peek(); token != token::End; token = in_.peek()) {
    // Tag tokens (LITERAL and its flagged forms included) have low bits of
    // 4 and up; the global tokens of content have 0 to 3.
    const bool isTag = (token & 0x3F) >= token::Literal;
    if (isTag) {
      if (indent && (!any || lastWasElement))
        newline(depth + 1);
      element(depth + 1, preserve);
      lastWasElement = true;
      any = true;
      continue;
    }
    in_.next();
    if (token == token::SwitchPage) {
      switchPage();
    } else if (token == token::StrI || token == token::StrT) {
      writeEscaped(inlineOrTable(token), false);
    } else if (token == token::Entity) {
      const std::uint32_t character = in_.multiByte();
      if (!isXmlChar(character))
        fail("an entity is not a character XML can hold");
      writeEscaped(QString::fromUcs4(reinterpret_cast<const char32_t*>(&character), 1), false);
    } else if ((token >= token::ExtI0 && token <= token::ExtI2) ||
               (token >= token::ExtT0 && token <= token::ExtT2)) {
      writeVariable(token, inlineOrTable(token));
    } else if (token == token::Pi) {
      fail("it holds a processing instruction, which this program does not read");
    } else {
      fail("it holds a token WML does not use in content");
    }
    lastWasElement = false;
    any = true;
  }
  in_.next();
  if (lastWasElement && indent)
    newline(depth);
  write(u"</");
  write(name);
  write(u">");
}

} // namespace

bool hasCompiledDeckHeader(QByteArrayView bytes) {
  try {
    Reader in(bytes);
    const Header header = readHeader(in);
    return deckVersion(header).has_value();
  } catch (const Malformed&) {
    return false;
  }
}

DecodedDeck decodeDeck(QByteArrayView bytes) {
  DecodedDeck result;
  try {
    Reader in(bytes);
    const Header header = readHeader(in);
    const auto version = deckVersion(header);
    if (!version)
      fail("it is not a WML deck (unknown public identifier)");
    result.version = *version;
    DeckReader deck(in, header);
    deck.out() = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") +
                 doctypeDeclaration(*version) + u'\n';
    if (in.atEnd())
      fail("the file ends before the deck's first element");
    deck.element(0, false);
    if (!in.atEnd())
      fail("there is data after the deck's last element");
    deck.out() += u'\n';
    result.source = std::move(deck.out());
    result.ok = true;
  } catch (const Malformed& problem) {
    result.error = QString::fromUtf8(problem.what());
  }
  return result;
}

} // namespace tessera::wml::wbxml
