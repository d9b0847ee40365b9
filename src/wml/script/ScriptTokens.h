#pragma once

#include "wml/Positions.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <memory>

namespace tessera::wml::script {

// Where a token or a construct sits: the line and character column of its
// first character, and those just past its last.
struct SourceRange {
  LineColumn start;
  LineColumn end;
};

enum class TokenKind : quint8 {
  End,
  Identifier,
  // A word the language reserves: keywords the grammar uses carry their
  // `symbol`, the ones it never uses (delete, class, ...) are reported when
  // written as names.
  Keyword,
  ReservedWord,
  Integer,
  Float,
  String,
  Punctuator,
  // Text the lexer could not read; LexResult::error says why.
  Error,
};

// Each punctuator and each keyword the grammar uses, so the parser compares
// a byte instead of text.
enum class Symbol : quint8 {
  None,
  // Punctuators.
  ShiftRightZeroAssign, // >>>=
  ShiftRightZero,       // >>>
  ShiftLeftAssign,      // <<=
  ShiftRightAssign,     // >>=
  Equal,                // ==
  LessEqual,            // <=
  GreaterEqual,         // >=
  NotEqual,             // !=
  AndAnd,               // &&
  OrOr,                 // ||
  PlusPlus,             // ++
  MinusMinus,           // --
  PlusAssign,           // +=
  MinusAssign,          // -=
  TimesAssign,          // *=
  DivideAssign,         // /=
  AndAssign,            // &=
  OrAssign,             // |=
  XorAssign,            // ^=
  RemainderAssign,      // %=
  ShiftLeft,            // <<
  ShiftRight,           // >>
  Assign,               // =
  Greater,              // >
  Less,                 // <
  Comma,                // ,
  Not,                  // !
  Tilde,                // ~
  Question,             // ?
  Colon,                // :
  Dot,                  // .
  Plus,                 // +
  Minus,                // -
  Times,                // *
  Divide,               // /
  And,                  // &
  Or,                   // |
  Xor,                  // ^
  Remainder,            // %
  LeftParen,            // (
  RightParen,           // )
  LeftBrace,            // {
  RightBrace,           // }
  Semicolon,            // ;
  Hash,                 // #
  // Keywords.
  Access,
  Agent,
  Break,
  Continue,
  Div,
  DivAssign, // div=
  Domain,
  Else,
  Equiv,
  Extern,
  For,
  Function,
  Header,
  Http,
  If,
  IsValid,
  Meta,
  Name,
  Path,
  Return,
  TypeOf,
  Url,
  Use,
  User,
  Var,
  While,
  True,
  False,
  Invalid,
};

// The symbol as written ("+=", "div=", "function"); empty for None.
QStringView symbolText(Symbol symbol);

struct Token {
  TokenKind kind = TokenKind::End;
  Symbol symbol = Symbol::None;
  // A float literal too small for a 32-bit float, read as 0.0.
  bool underflow = false;
  // A string literal's decoded value: its text between the quotes when it
  // holds no escape, else a view of the decoded copy the lexer keeps.
  QStringView value;
  // The token as written, a view of the source (empty for End and Error).
  QStringView text;
  // An integer literal's value (0..2^32, kept wide so the range check can
  // tell 2147483648 under a minus from one without), a float's value.
  qint64 integerValue = 0;
  double floatValue = 0;
  SourceRange range;

  bool is(Symbol s) const { return symbol == s; }
  // The End or Error token that ends what can be read.
  bool endsText() const { return kind == TokenKind::End || kind == TokenKind::Error; }
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
  // The values of the string literals with escapes, which the tokens view.
  QList<QString> decodedStrings;
  // Why the Error token that ends `tokens` is one.
  QString error;
  QList<LexNote> warnings;
};

// Reads WMLScript source a token at a time, as a parser asks for them, so
// a unit's tokens never all sit in memory at once. Reading stops at the
// first error. The tokens' text views `source`, which must outlive them.
class TokenStream {
public:
  explicit TokenStream(const QString& source);
  ~TokenStream();
  TokenStream(const TokenStream&) = delete;
  TokenStream& operator=(const TokenStream&) = delete;

  // The next token; after the End or Error token that ends the text, that
  // token again.
  Token next();
  // The values of the string literals with escapes read so far, which
  // their tokens view: whoever keeps the tokens' values takes them.
  QList<QString> takeDecodedStrings();
  // Why the Error token is one.
  const QString& error() const;
  // The lexical warnings of the text read so far.
  const QList<LexNote>& warnings() const;

private:
  friend LexResult lexScript(const QString& source);
  class Lexer;
  std::unique_ptr<Lexer> lexer;
};

// Splits WMLScript source into tokens. Reading stops at the first error,
// which becomes the last token. The tokens' text views `source`, which must
// outlive the result.
LexResult lexScript(const QString& source);

// Whether `word` is one of the language's reserved words (keywords, words
// kept from ECMAScript, future words, and the literals true, false and
// invalid).
bool isReservedWord(QStringView word);

} // namespace tessera::wml::script
