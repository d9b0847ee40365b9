#include "wml/script/ScriptTokens.h"

#include <QSet>

#include <cfloat>
#include <cmath>

namespace tessera::wml::script {

namespace {

// The words the grammar itself uses; the lexer hands them to the parser as
// keywords. true, false and invalid are literals the parser reads.
const QSet<QString>& grammarKeywords() {
  static const QSet<QString> words = {
      "access",  "agent",  "break", "continue", "div",    "domain", "else",
      "equiv",   "extern", "for",   "function", "header", "http",   "if",
      "isvalid", "meta",   "name",  "path",     "return", "typeof", "url",
      "use",     "user",   "var",   "while",    "true",   "false",  "invalid"};
  return words;
}

// Reserved words no construct of the language uses: kept from ECMAScript or
// set aside for later versions.
const QSet<QString>& unusedReservedWords() {
  static const QSet<QString> words = {
      "delete", "in",     "lib",    "new",     "null",    "this",     "void",
      "with",   "case",   "catch",  "class",   "const",   "debugger", "default",
      "do",     "enum",   "export", "extends", "finally", "import",   "private",
      "public", "sizeof", "struct", "super",   "switch",  "throw",    "try"};
  return words;
}

// Longest first, so ">>>=" is never read as ">>" and ">=".
const char* const punctuators[] = {
    ">>>=", ">>>", "<<=", ">>=", "==", "<=", ">=", "!=", "&&", "||", "++", "--", "+=", "-=", "*=",
    "/=",   "&=",  "|=",  "^=",  "%=", "<<", ">>", "=",  ">",  "<",  ",",  "!",  "~",  "?",  ":",
    ".",    "+",   "-",   "*",   "/",  "&",  "|",  "^",  "%",  "(",  ")",  "{",  "}",  ";",  "#"};

bool isIdentifierStart(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}
bool isIdentifierPart(QChar c) { return isIdentifierStart(c) || (c >= u'0' && c <= u'9'); }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isOctalDigit(QChar c) { return c >= u'0' && c <= u'7'; }
int hexValue(QChar c) {
  if (isDigit(c))
    return c.unicode() - u'0';
  if (c >= u'a' && c <= u'f')
    return c.unicode() - u'a' + 10;
  if (c >= u'A' && c <= u'F')
    return c.unicode() - u'A' + 10;
  return -1;
}

// Integer literals above this are out of range whatever the sign; the
// value is kept only that far, so a long literal cannot overflow.
constexpr qint64 integerCeiling = qint64(1) << 33;

class Lexer {
public:
  explicit Lexer(const QString& source) : text(source) {}

  LexResult run() {
    LexResult result;
    for (;;) {
      if (!skipSpaceAndComments(result))
        break;
      Token token = next();
      const bool stop = token.kind == TokenKind::End || token.kind == TokenKind::Error;
      result.tokens.append(std::move(token));
      if (stop)
        return result;
    }
    return result;
  }

private:
  const QString& text;
  qsizetype pos = 0;
  int line = 1;
  int column = 1;

  QChar at(qsizetype offset = 0) const {
    const qsizetype i = pos + offset;
    return i < text.size() ? text.at(i) : QChar();
  }
  bool atEnd() const { return pos >= text.size(); }

  // Moves past one character; a CR LF pair, a lone CR and a LF each end a
  // line, and a surrogate pair counts as one column.
  void advance() {
    const QChar c = text.at(pos);
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
      pos += (c.isHighSurrogate() && pos + 1 < text.size() && text.at(pos + 1).isLowSurrogate())
                 ? 2
                 : 1;
      ++column;
    }
  }

  SourceRange rangeFrom(int startLine, int startColumn) const {
    return {startLine, startColumn, line, column};
  }

  Token error(int startLine, int startColumn, const QString& message) {
    Token token;
    token.kind = TokenKind::Error;
    token.message = message;
    token.range = rangeFrom(startLine, startColumn);
    if (token.range.endLine == startLine && token.range.endColumn == startColumn)
      token.range.endColumn = startColumn + 1;
    return token;
  }

  // False when an unterminated comment ends the text (its error token is
  // appended).
  bool skipSpaceAndComments(LexResult& result) {
    while (!atEnd()) {
      const QChar c = at();
      if (c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\r' || c == u'\n') {
        advance();
      } else if (c == u'/' && at(1) == u'/') {
        while (!atEnd() && at() != u'\r' && at() != u'\n')
          advance();
      } else if (c == u'/' && at(1) == u'*') {
        const int startLine = line, startColumn = column;
        advance();
        advance();
        bool closed = false;
        while (!atEnd()) {
          if (at() == u'*' && at(1) == u'/') {
            advance();
            advance();
            closed = true;
            break;
          }
          if (at() == u'/' && at(1) == u'*') {
            const int innerLine = line, innerColumn = column;
            advance();
            advance();
            result.warnings.append({{innerLine, innerColumn, line, column},
                                    QStringLiteral("\"/*\" inside a comment: comments do not "
                                                   "nest, the first \"*/\" ends this one"),
                                    QStringLiteral("nested-comment")});
            continue;
          }
          advance();
        }
        if (!closed) {
          result.tokens.append(
              error(startLine, startColumn, QStringLiteral("comment not closed with \"*/\"")));
          result.tokens.last().range.endLine = startLine;
          result.tokens.last().range.endColumn = startColumn + 2;
          return false;
        }
      } else {
        break;
      }
    }
    return true;
  }

  Token next() {
    const int startLine = line, startColumn = column;
    if (atEnd()) {
      Token end;
      end.range = {line, column, line, column};
      return end;
    }
    const QChar c = at();
    if (isIdentifierStart(c))
      return word(startLine, startColumn);
    if (isDigit(c) || (c == u'.' && isDigit(at(1))))
      return number(startLine, startColumn);
    if (c == u'"' || c == u'\'')
      return string(startLine, startColumn);
    for (const char* p : punctuators) {
      const QLatin1StringView candidate(p);
      if (QStringView(text).mid(pos).startsWith(candidate)) {
        for (qsizetype i = 0; i < candidate.size(); ++i)
          advance();
        Token token;
        token.kind = TokenKind::Punctuator;
        token.text = candidate.toString();
        token.range = rangeFrom(startLine, startColumn);
        return token;
      }
    }
    advance();
    const QString shown = text.mid(pos - 1, 1);
    return error(startLine, startColumn,
                 c.unicode() < 0x80
                     ? QStringLiteral("unexpected character '%1'").arg(shown)
                     : QStringLiteral("character U+%1 outside a string or comment")
                           .arg(QString::number(c.unicode(), 16).toUpper(), 4, u'0'));
  }

  Token word(int startLine, int startColumn) {
    const qsizetype start = pos;
    while (!atEnd() && isIdentifierPart(at()))
      advance();
    Token token;
    token.text = text.mid(start, pos - start);
    // "div=" is one token (the integer-division assignment), unless the
    // "=" starts "==".
    if (token.text == QLatin1String("div") && at() == u'=' && at(1) != u'=') {
      advance();
      token.text = QStringLiteral("div=");
    }
    if (grammarKeywords().contains(token.text) || token.text == QLatin1String("div="))
      token.kind = TokenKind::Keyword;
    else if (unusedReservedWords().contains(token.text))
      token.kind = TokenKind::ReservedWord;
    else
      token.kind = TokenKind::Identifier;
    token.range = rangeFrom(startLine, startColumn);
    return token;
  }

  Token number(int startLine, int startColumn) {
    const qsizetype start = pos;
    Token token;
    token.kind = TokenKind::Integer;
    auto malformed = [&](const QString& why) {
      while (!atEnd() && (isIdentifierPart(at()) || at() == u'.'))
        advance();
      return error(startLine, startColumn, why.arg(text.mid(start, pos - start)));
    };
    auto addDigit = [&](int base, int digit) {
      token.integerValue = std::min(token.integerValue * base + digit, integerCeiling);
    };
    if (at() == u'0' && (at(1) == u'x' || at(1) == u'X')) {
      advance();
      advance();
      if (hexValue(at()) < 0)
        return malformed(QStringLiteral("malformed number \"%1\": no hexadecimal digits"));
      while (hexValue(at()) >= 0) {
        addDigit(16, hexValue(at()));
        advance();
      }
    } else if (at() == u'0' && isDigit(at(1))) {
      advance();
      while (isDigit(at())) {
        if (!isOctalDigit(at()))
          return malformed(QStringLiteral("malformed number \"%1\": 8 and 9 are not octal "
                                          "digits (a leading 0 makes an octal number)"));
        addDigit(8, at().unicode() - u'0');
        advance();
      }
    } else {
      while (isDigit(at())) {
        addDigit(10, at().unicode() - u'0');
        advance();
      }
      bool isFloat = false;
      if (at() == u'.') {
        isFloat = true;
        advance();
        while (isDigit(at()))
          advance();
      }
      if (at() == u'e' || at() == u'E') {
        isFloat = true;
        advance();
        if (at() == u'+' || at() == u'-')
          advance();
        if (!isDigit(at()))
          return malformed(QStringLiteral("malformed number \"%1\": the exponent has no digits"));
        while (isDigit(at()))
          advance();
      }
      if (isFloat) {
        token.kind = TokenKind::Float;
        token.floatValue = text.mid(start, pos - start).toDouble();
      }
    }
    if (!atEnd() && (isIdentifierPart(at()) || at() == u'.'))
      return malformed(QStringLiteral("malformed number \"%1\""));
    token.text = text.mid(start, pos - start);
    token.range = rangeFrom(startLine, startColumn);
    if (token.kind == TokenKind::Float && token.floatValue != 0 &&
        std::fabs(token.floatValue) < double(FLT_MIN)) {
      token.underflow = true;
      token.floatValue = 0;
    }
    return token;
  }

  Token string(int startLine, int startColumn) {
    const QChar quote = at();
    const qsizetype start = pos;
    advance();
    QString value;
    for (;;) {
      if (atEnd() || at() == u'\r' || at() == u'\n') {
        Token token = error(startLine, startColumn, QStringLiteral("string not closed"));
        return token;
      }
      const QChar c = at();
      if (c == quote) {
        advance();
        break;
      }
      if (c != u'\\') {
        value.append(c);
        if (c.isHighSurrogate() && at(1).isLowSurrogate())
          value.append(at(1));
        advance();
        continue;
      }
      const int escapeLine = line, escapeColumn = column;
      advance();
      const QChar e = at();
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
        if (isOctalDigit(e)) {
          // Up to three digits, the first of three at most 3, so the value
          // stays within one byte.
          int code = e.unicode() - u'0';
          const int most = e <= u'3' ? 3 : 2;
          int used = 1;
          while (used < most && isOctalDigit(at(used))) {
            code = code * 8 + (at(used).unicode() - u'0');
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
    Token token;
    token.kind = TokenKind::String;
    token.text = text.mid(start, pos - start);
    token.stringValue = value;
    token.range = rangeFrom(startLine, startColumn);
    return token;
  }
};

} // namespace

LexResult lexScript(const QString& source) { return Lexer(source).run(); }

bool isReservedWord(QStringView word) {
  const QString w = word.toString();
  return grammarKeywords().contains(w) || unusedReservedWords().contains(w) ||
         w == QLatin1String("div=");
}

} // namespace tessera::wml::script
