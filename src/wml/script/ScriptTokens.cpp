#include "wml/script/ScriptTokens.h"

#include <array>
#include <cfloat>
#include <cmath>

namespace tessera::wml::script {

namespace {

// Each symbol's text, in the order of Symbol.
constexpr QStringView symbolTexts[] = {
    u"",      u">>>=",     u">>>",    u"<<=",  u">>=",    u"==",      u"<=",     u">=",
    u"!=",    u"&&",       u"||",     u"++",   u"--",     u"+=",      u"-=",     u"*=",
    u"/=",    u"&=",       u"|=",     u"^=",   u"%=",     u"<<",      u">>",     u"=",
    u">",     u"<",        u",",      u"!",    u"~",      u"?",       u":",      u".",
    u"+",     u"-",        u"*",      u"/",    u"&",      u"|",       u"^",      u"%",
    u"(",     u")",        u"{",      u"}",    u";",      u"#",       u"access", u"agent",
    u"break", u"continue", u"div",    u"div=", u"domain", u"else",    u"equiv",  u"extern",
    u"for",   u"function", u"header", u"http", u"if",     u"isvalid", u"meta",   u"name",
    u"path",  u"return",   u"typeof", u"url",  u"use",    u"user",    u"var",    u"while",
    u"true",  u"false",    u"invalid"};
static_assert(std::size(symbolTexts) == size_t(Symbol::Invalid) + 1);

struct Word {
  QLatin1StringView text;
  TokenKind kind;
  Symbol symbol;
};

// Every reserved word: the ones the grammar uses (true, false and invalid
// are literals the parser reads) and the ones no construct uses, kept from
// ECMAScript or set aside for later versions. In alphabetical order, so
// the words of one first letter sit together.
constexpr Word reservedWords[] = {
    {QLatin1StringView("access"), TokenKind::Keyword, Symbol::Access},
    {QLatin1StringView("agent"), TokenKind::Keyword, Symbol::Agent},
    {QLatin1StringView("break"), TokenKind::Keyword, Symbol::Break},
    {QLatin1StringView("case"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("catch"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("class"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("const"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("continue"), TokenKind::Keyword, Symbol::Continue},
    {QLatin1StringView("debugger"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("default"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("delete"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("div"), TokenKind::Keyword, Symbol::Div},
    {QLatin1StringView("do"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("domain"), TokenKind::Keyword, Symbol::Domain},
    {QLatin1StringView("else"), TokenKind::Keyword, Symbol::Else},
    {QLatin1StringView("enum"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("equiv"), TokenKind::Keyword, Symbol::Equiv},
    {QLatin1StringView("export"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("extends"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("extern"), TokenKind::Keyword, Symbol::Extern},
    {QLatin1StringView("false"), TokenKind::Keyword, Symbol::False},
    {QLatin1StringView("finally"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("for"), TokenKind::Keyword, Symbol::For},
    {QLatin1StringView("function"), TokenKind::Keyword, Symbol::Function},
    {QLatin1StringView("header"), TokenKind::Keyword, Symbol::Header},
    {QLatin1StringView("http"), TokenKind::Keyword, Symbol::Http},
    {QLatin1StringView("if"), TokenKind::Keyword, Symbol::If},
    {QLatin1StringView("import"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("in"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("invalid"), TokenKind::Keyword, Symbol::Invalid},
    {QLatin1StringView("isvalid"), TokenKind::Keyword, Symbol::IsValid},
    {QLatin1StringView("lib"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("meta"), TokenKind::Keyword, Symbol::Meta},
    {QLatin1StringView("name"), TokenKind::Keyword, Symbol::Name},
    {QLatin1StringView("new"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("null"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("path"), TokenKind::Keyword, Symbol::Path},
    {QLatin1StringView("private"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("public"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("return"), TokenKind::Keyword, Symbol::Return},
    {QLatin1StringView("sizeof"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("struct"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("super"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("switch"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("this"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("throw"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("true"), TokenKind::Keyword, Symbol::True},
    {QLatin1StringView("try"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("typeof"), TokenKind::Keyword, Symbol::TypeOf},
    {QLatin1StringView("url"), TokenKind::Keyword, Symbol::Url},
    {QLatin1StringView("use"), TokenKind::Keyword, Symbol::Use},
    {QLatin1StringView("user"), TokenKind::Keyword, Symbol::User},
    {QLatin1StringView("var"), TokenKind::Keyword, Symbol::Var},
    {QLatin1StringView("void"), TokenKind::ReservedWord, Symbol::None},
    {QLatin1StringView("while"), TokenKind::Keyword, Symbol::While},
    {QLatin1StringView("with"), TokenKind::ReservedWord, Symbol::None},
};

// For each first letter, where its words start in reservedWords (the next
// letter's entry is where they end).
constexpr std::array<quint8, 27> firstLetterStarts() {
  std::array<quint8, 27> starts{};
  size_t w = 0;
  for (int letter = 0; letter < 26; ++letter) {
    starts[letter] = quint8(w);
    while (w < std::size(reservedWords) && reservedWords[w].text.data()[0] == char('a' + letter))
      ++w;
  }
  starts[26] = quint8(w);
  return starts;
}
constexpr std::array<quint8, 27> wordStarts = firstLetterStarts();
static_assert(wordStarts[26] == std::size(reservedWords), "reservedWords is not in order");

// The reserved word `text` is, or null for a name the program may use.
const Word* findReservedWord(QStringView text) {
  if (text.size() < 2 || text.size() > 8)
    return nullptr;
  const char16_t first = text.front().unicode();
  if (first < u'a' || first > u'z')
    return nullptr;
  for (int w = wordStarts[first - u'a']; w < wordStarts[first - u'a' + 1]; ++w)
    if (reservedWords[w].text.size() == text.size() && reservedWords[w].text == text)
      return &reservedWords[w];
  return nullptr;
}

bool isIdentifierStart(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}
bool isIdentifierPart(char16_t c) { return isIdentifierStart(c) || (c >= u'0' && c <= u'9'); }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isOctalDigit(char16_t c) { return c >= u'0' && c <= u'7'; }
int hexValue(char16_t c) {
  if (isDigit(c))
    return c - u'0';
  if (c >= u'a' && c <= u'f')
    return c - u'a' + 10;
  if (c >= u'A' && c <= u'F')
    return c - u'A' + 10;
  return -1;
}

// Integer literals above this are out of range whatever the sign; the
// value is kept only that far, so a long literal cannot overflow.
constexpr qint64 integerCeiling = qint64(1) << 33;

} // namespace

class TokenStream::Lexer {
public:
  explicit Lexer(const QString& source)
      : text(source), chars(reinterpret_cast<const char16_t*>(source.constData())),
        size(source.size()) {}

  // The next token, its text skipped; after the End or Error token that
  // ends the text, that token again.
  Token nextToken() {
    if (finished)
      return last;
    Token token = skipSpaceAndComments() ? next() : unclosedComment;
    if (token.endsText()) {
      finished = true;
      last = token;
    }
    return token;
  }

  // The decoded string literals, the lexical warnings and the error so far.
  LexResult result;

private:
  const QString& text;
  const char16_t* chars;
  qsizetype size;
  qsizetype pos = 0;
  int line = 1;
  int column = 1;
  bool finished = false;
  Token last;
  Token unclosedComment;

  char16_t at(qsizetype offset = 0) const {
    const qsizetype i = pos + offset;
    return i < size ? chars[i] : char16_t(0);
  }
  bool atEnd() const { return pos >= size; }

  // Moves past one character; a CR LF pair, a lone CR and a LF each end a
  // line, and a surrogate pair counts as one column.
  void advance() {
    const char16_t c = chars[pos];
    if (c == u'\r') {
      ++pos;
      if (at() == u'\n')
        ++pos;
      ++line;
      column = 1;
    } else if (c == u'\n') {
      ++pos;
      ++line;
      column = 1;
    } else {
      pos += (QChar::isHighSurrogate(c) && pos + 1 < size && QChar::isLowSurrogate(chars[pos + 1]))
                 ? 2
                 : 1;
      ++column;
    }
  }
  // Moves past `count` characters known to be ASCII and no line break.
  void skipAscii(qsizetype count) {
    pos += count;
    column += int(count);
  }

  SourceRange rangeFrom(int startLine, int startColumn) const {
    return {{startLine, startColumn}, {line, column}};
  }

  Token error(int startLine, int startColumn, const QString& message) {
    Token token;
    token.kind = TokenKind::Error;
    result.error = message;
    token.range = rangeFrom(startLine, startColumn);
    if (token.range.end == token.range.start)
      token.range.end.column = startColumn + 1;
    return token;
  }

  // False when an unterminated comment ends the text (its error token is
  // then `unclosedComment`).
  bool skipSpaceAndComments() {
    while (pos < size) {
      const char16_t c = chars[pos];
      if (c == u' ' || c == u'\t' || c == u'\v' || c == u'\f') {
        ++pos;
        ++column;
      } else if (c == u'\r' || c == u'\n') {
        advance();
      } else if (c == u'/' && at(1) == u'/') {
        while (!atEnd() && at() != u'\r' && at() != u'\n')
          advance();
      } else if (c == u'/' && at(1) == u'*') {
        if (!skipBlockComment())
          return false;
      } else {
        break;
      }
    }
    return true;
  }

  bool skipBlockComment() {
    const int startLine = line, startColumn = column;
    skipAscii(2);
    while (!atEnd()) {
      if (at() == u'*' && at(1) == u'/') {
        skipAscii(2);
        return true;
      }
      if (at() == u'/' && at(1) == u'*') {
        const int innerLine = line, innerColumn = column;
        skipAscii(2);
        result.warnings.append({{{innerLine, innerColumn}, {line, column}},
                                QStringLiteral("\"/*\" inside a comment: comments do not "
                                               "nest, the first \"*/\" ends this one"),
                                QStringLiteral("nested-comment")});
        continue;
      }
      advance();
    }
    unclosedComment =
        error(startLine, startColumn, QStringLiteral("comment not closed with \"*/\""));
    unclosedComment.range.end = {startLine, startColumn + 2};
    return false;
  }

  Token next() {
    const int startLine = line, startColumn = column;
    if (atEnd()) {
      Token end;
      end.range = {{line, column}, {line, column}};
      return end;
    }
    const char16_t c = chars[pos];
    if (isIdentifierStart(c))
      return word(startLine, startColumn);
    if (isDigit(c) || (c == u'.' && isDigit(at(1))))
      return number(startLine, startColumn);
    if (c == u'"' || c == u'\'')
      return string(startLine, startColumn);
    const Symbol symbol = punctuator();
    if (symbol != Symbol::None) {
      Token token;
      token.kind = TokenKind::Punctuator;
      token.symbol = symbol;
      token.text = QStringView(chars + pos, symbolText(symbol).size());
      skipAscii(token.text.size());
      token.range = rangeFrom(startLine, startColumn);
      return token;
    }
    advance();
    const QString shown = text.mid(pos - 1, 1);
    return error(startLine, startColumn,
                 c < 0x80 ? QStringLiteral("unexpected character '%1'").arg(shown)
                          : QStringLiteral("character U+%1 outside a string or comment")
                                .arg(QString::number(c, 16).toUpper(), 4, u'0'));
  }

  // The longest punctuator at the current place, or None.
  Symbol punctuator() const {
    const char16_t second = at(1);
    switch (chars[pos]) {
    case u'>':
      if (second == u'>') {
        if (at(2) == u'>')
          return at(3) == u'=' ? Symbol::ShiftRightZeroAssign : Symbol::ShiftRightZero;
        return at(2) == u'=' ? Symbol::ShiftRightAssign : Symbol::ShiftRight;
      }
      return second == u'=' ? Symbol::GreaterEqual : Symbol::Greater;
    case u'<':
      if (second == u'<')
        return at(2) == u'=' ? Symbol::ShiftLeftAssign : Symbol::ShiftLeft;
      return second == u'=' ? Symbol::LessEqual : Symbol::Less;
    case u'=': return second == u'=' ? Symbol::Equal : Symbol::Assign;
    case u'!': return second == u'=' ? Symbol::NotEqual : Symbol::Not;
    case u'&':
      return second == u'&' ? Symbol::AndAnd : second == u'=' ? Symbol::AndAssign : Symbol::And;
    case u'|':
      return second == u'|' ? Symbol::OrOr : second == u'=' ? Symbol::OrAssign : Symbol::Or;
    case u'+':
      return second == u'+' ? Symbol::PlusPlus : second == u'=' ? Symbol::PlusAssign : Symbol::Plus;
    case u'-':
      return second == u'-'   ? Symbol::MinusMinus
             : second == u'=' ? Symbol::MinusAssign
                              : Symbol::Minus;
    case u'*': return second == u'=' ? Symbol::TimesAssign : Symbol::Times;
    case u'/': return second == u'=' ? Symbol::DivideAssign : Symbol::Divide;
    case u'^': return second == u'=' ? Symbol::XorAssign : Symbol::Xor;
    case u'%': return second == u'=' ? Symbol::RemainderAssign : Symbol::Remainder;
    case u',': return Symbol::Comma;
    case u'~': return Symbol::Tilde;
    case u'?': return Symbol::Question;
    case u':': return Symbol::Colon;
    case u'.': return Symbol::Dot;
    case u'(': return Symbol::LeftParen;
    case u')': return Symbol::RightParen;
    case u'{': return Symbol::LeftBrace;
    case u'}': return Symbol::RightBrace;
    case u';': return Symbol::Semicolon;
    case u'#': return Symbol::Hash;
    default: return Symbol::None;
    }
  }

  Token word(int startLine, int startColumn) {
    const qsizetype start = pos;
    qsizetype end = pos + 1;
    while (end < size && isIdentifierPart(chars[end]))
      ++end;
    skipAscii(end - start);
    Token token;
    token.kind = TokenKind::Identifier;
    token.text = QStringView(chars + start, end - start);
    if (const Word* reserved = findReservedWord(token.text)) {
      token.kind = reserved->kind;
      token.symbol = reserved->symbol;
      // "div=" is one token (the integer-division assignment), unless the
      // "=" starts "==".
      if (token.symbol == Symbol::Div && at() == u'=' && at(1) != u'=') {
        skipAscii(1);
        token.symbol = Symbol::DivAssign;
        token.text = QStringView(chars + start, 4);
      }
    }
    token.range = rangeFrom(startLine, startColumn);
    return token;
  }

  Token number(int startLine, int startColumn) {
    const qsizetype start = pos;
    Token token;
    token.kind = TokenKind::Integer;
    auto malformed = [&](const QString& why) {
      while (!atEnd() && (isIdentifierPart(at()) || at() == u'.'))
        skipAscii(1);
      return error(startLine, startColumn, why.arg(text.mid(start, pos - start)));
    };
    auto addDigit = [&](int base, int digit) {
      token.integerValue = std::min(token.integerValue * base + digit, integerCeiling);
    };
    if (at() == u'0' && (at(1) == u'x' || at(1) == u'X')) {
      skipAscii(2);
      if (hexValue(at()) < 0)
        return malformed(QStringLiteral("malformed number \"%1\": no hexadecimal digits"));
      while (hexValue(at()) >= 0) {
        addDigit(16, hexValue(at()));
        skipAscii(1);
      }
    } else if (at() == u'0' && isDigit(at(1))) {
      skipAscii(1);
      while (isDigit(at())) {
        if (!isOctalDigit(at()))
          return malformed(QStringLiteral("malformed number \"%1\": 8 and 9 are not octal "
                                          "digits (a leading 0 makes an octal number)"));
        addDigit(8, at() - u'0');
        skipAscii(1);
      }
    } else {
      while (isDigit(at())) {
        addDigit(10, at() - u'0');
        skipAscii(1);
      }
      bool isFloat = false;
      if (at() == u'.') {
        isFloat = true;
        skipAscii(1);
        while (isDigit(at()))
          skipAscii(1);
      }
      if (at() == u'e' || at() == u'E') {
        isFloat = true;
        skipAscii(1);
        if (at() == u'+' || at() == u'-')
          skipAscii(1);
        if (!isDigit(at()))
          return malformed(QStringLiteral("malformed number \"%1\": the exponent has no digits"));
        while (isDigit(at()))
          skipAscii(1);
      }
      if (isFloat) {
        token.kind = TokenKind::Float;
        token.floatValue = QStringView(chars + start, pos - start).toDouble();
      }
    }
    if (!atEnd() && (isIdentifierPart(at()) || at() == u'.'))
      return malformed(QStringLiteral("malformed number \"%1\""));
    token.text = QStringView(chars + start, pos - start);
    token.range = rangeFrom(startLine, startColumn);
    if (token.kind == TokenKind::Float && token.floatValue != 0 &&
        std::fabs(token.floatValue) < double(FLT_MIN)) {
      token.underflow = true;
      token.floatValue = 0;
    }
    return token;
  }

  Token stringToken(qsizetype start, int startLine, int startColumn, QStringView value) {
    Token token;
    token.kind = TokenKind::String;
    token.text = QStringView(chars + start, pos - start);
    token.value = value;
    token.range = rangeFrom(startLine, startColumn);
    return token;
  }

  Token string(int startLine, int startColumn) {
    const char16_t quote = at();
    const qsizetype start = pos;
    // Most literals hold no escape: their value is their text.
    qsizetype end = pos + 1;
    int columns = 1;
    while (end < size) {
      const char16_t c = chars[end];
      if (c == quote || c == u'\\' || c == u'\r' || c == u'\n')
        break;
      end += (QChar::isHighSurrogate(c) && end + 1 < size && QChar::isLowSurrogate(chars[end + 1]))
                 ? 2
                 : 1;
      ++columns;
    }
    if (end < size && chars[end] == quote) {
      pos = end + 1;
      column += columns + 1;
      return stringToken(start, startLine, startColumn,
                         QStringView(chars + start + 1, end - start - 1));
    }
    return escapedString(quote, start, startLine, startColumn);
  }

  Token escapedString(char16_t quote, qsizetype start, int startLine, int startColumn) {
    advance();
    QString value;
    for (;;) {
      if (atEnd() || at() == u'\r' || at() == u'\n')
        return error(startLine, startColumn, QStringLiteral("string not closed"));
      const char16_t c = at();
      if (c == quote) {
        advance();
        break;
      }
      if (c != u'\\') {
        value.append(QChar(c));
        if (QChar::isHighSurrogate(c) && QChar::isLowSurrogate(at(1)))
          value.append(QChar(at(1)));
        advance();
        continue;
      }
      const int escapeLine = line, escapeColumn = column;
      advance();
      const QChar e = QChar(at());
      switch (e.unicode()) {
      case u'\'':
      case u'"':
      case u'\\':
      case u'/': value.append(e); break;
      case u'b': value.append(QChar(0x08)); break;
      case u'f': value.append(QChar(0x0C)); break;
      case u'n': value.append(QChar(0x0A)); break;
      case u'r': value.append(QChar(0x0D)); break;
      case u't': value.append(QChar(0x09)); break;
      case u'x':
      case u'u': {
        const int digits = e == u'x' ? 2 : 4;
        int code = 0;
        for (int i = 1; i <= digits; ++i) {
          const int h = hexValue(at(i));
          if (h < 0) {
            advance();
            return error(escapeLine, escapeColumn,
                         QStringLiteral("\"\\%1\" needs %2 hexadecimal digits").arg(e).arg(digits));
          }
          code = code * 16 + h;
        }
        for (int i = 0; i < digits; ++i)
          advance();
        value.append(QChar(code));
        break;
      }
      default:
        if (isOctalDigit(e.unicode())) {
          // Up to three digits, the first of three at most 3, so the value
          // stays within one byte.
          int code = e.unicode() - u'0';
          const int most = e <= u'3' ? 3 : 2;
          int used = 1;
          while (used < most && isOctalDigit(at(used))) {
            code = code * 8 + (at(used) - u'0');
            ++used;
          }
          for (int i = 1; i < used; ++i)
            advance();
          value.append(QChar(code));
          break;
        }
        if (atEnd() || e == u'\r' || e == u'\n')
          return error(startLine, startColumn, QStringLiteral("string not closed"));
        advance();
        return error(escapeLine, escapeColumn,
                     QStringLiteral("unknown escape sequence \"\\%1\"").arg(e));
      }
      advance();
    }
    // The list's strings keep their characters where they are as it grows.
    result.decodedStrings.append(std::move(value));
    return stringToken(start, startLine, startColumn, result.decodedStrings.last());
  }
};

QStringView symbolText(Symbol symbol) { return symbolTexts[size_t(symbol)]; }

TokenStream::TokenStream(const QString& source) : lexer(std::make_unique<Lexer>(source)) {}
TokenStream::~TokenStream() = default;

Token TokenStream::next() { return lexer->nextToken(); }
QList<QString> TokenStream::takeDecodedStrings() { return std::move(lexer->result.decodedStrings); }
const QString& TokenStream::error() const { return lexer->result.error; }
const QList<LexNote>& TokenStream::warnings() const { return lexer->result.warnings; }

LexResult lexScript(const QString& source) {
  TokenStream stream(source);
  LexResult result;
  do
    result.tokens.append(stream.next());
  while (!result.tokens.last().endsText());
  result.decodedStrings = stream.takeDecodedStrings();
  result.error = stream.error();
  result.warnings = stream.warnings();
  return result;
}

bool isReservedWord(QStringView word) { return findReservedWord(word) || word == u"div="; }

} // namespace tessera::wml::script
