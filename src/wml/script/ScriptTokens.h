#pragma once

#include <QList>
#include <QString>

namespace tessera::wml::script {

// Where a token or a construct sits: 1-based line and character column of
// its first character, and the line and column just past its last.
struct SourceRange {
  int line = 0;
  int column = 0;
  int endLine = 0;
  int endColumn = 0;
};

enum class TokenKind {
  End,
  Identifier,
  // A word the language reserves: keywords the grammar uses are their own
  // punctuator-like tokens (see `text`), the ones it never uses (delete,
  // class, ...) are reported when written as names.
  Keyword,
  ReservedWord,
  Integer,
  Float,
  String,
  Punctuator,
  // Text the lexer could not read; `message` says why.
  Error,
};

struct Token {
  TokenKind kind = TokenKind::End;
  // The punctuator or keyword as written ("+=", "div=", "function"), the
  // identifier's name, or the literal's source text.
  QString text;
  // The decoded value of a string literal.
  QString stringValue;
  // An integer literal's value (0..2^32, kept wide so the range check can
  // tell 2147483648 under a minus from one without), a float's value.
  qint64 integerValue = 0;
  double floatValue = 0;
  // A float literal too small for a 32-bit float, read as 0.0.
  bool underflow = false;
  QString message;
  SourceRange range;

  bool is(TokenKind k, QStringView t) const { return kind == k && text == t; }
  bool isPunctuator(QStringView t) const { return is(TokenKind::Punctuator, t); }
  bool isKeyword(QStringView t) const { return is(TokenKind::Keyword, t); }
};

// A comment's place, kept for the warning about a block comment opened
// inside another (the language has no nested comments, so the outer one
// ends at the first "*/").
struct LexNote {
  SourceRange range;
  QString message;
  QString rule;
};

struct LexResult {
  QList<Token> tokens; // always ends with an End or an Error token
  QList<LexNote> warnings;
};

// Splits WMLScript source into tokens. Reading stops at the first error,
// which becomes the last token.
LexResult lexScript(const QString& source);

// Whether `word` is one of the language's reserved words (keywords, words
// kept from ECMAScript, future words, and the literals true, false and
// invalid).
bool isReservedWord(QStringView word);

} // namespace tessera::wml::script
