#pragma once

#include "wml/Finding.h"
#include "wml/script/LibraryTable.h"
#include "wml/script/ScriptTokens.h"

#include <QList>
#include <QString>

#include <memory>
#include <memory_resource>
#include <optional>
#include <span>
#include <vector>

namespace tessera::wml::script {

// The parsed compilation unit: what the checks and the code generator walk.
// Every node keeps where it was written, so a finding points at it.
//
// The nodes live in the unit's arena and are freed with it at once; names
// and string values view the source text (or the unit's decoded strings),
// so the source must outlive the unit. Nodes therefore hold no memory of
// their own: views, spans and plain values only.

struct Expression;

// A node's operands or children, in the arena.
template <typename Node> using NodeSpan = std::span<Node* const>;

struct Expression {
  enum class Kind : quint8 {
    Integer,
    Float,
    String,
    Boolean,
    Invalid,
    Variable,
    Assign,        // op: Assign, PlusAssign, ..., DivAssign; name: the variable
    Unary,         // op: Plus, Minus, Tilde, Not, TypeOf, IsValid
    PreIncrement,  // ++name / --name (op PlusPlus or MinusMinus)
    PostIncrement, // name++ / name-- (op PlusPlus or MinusMinus)
    Binary,        // op: Times, Divide, Div, Remainder, Plus, Minus, ShiftLeft, ...
    LogicalAnd,
    LogicalOr,
    Conditional,  // operands: condition, then, else
    Comma,        // operands: left, right
    LocalCall,    // name(operands)
    ExternalCall, // qualifier#name(operands)
    LibraryCall,  // qualifier.name(operands)
  };
  Kind kind = Kind::Invalid;
  Symbol op = Symbol::None;
  bool floatUnderflow = false;
  bool booleanValue = false;
  // Filled in by the checks for the code generator: the variable's index or
  // the local function's index.
  int slot = -1;
  SourceRange range;
  // The variable's or called function's name as written, and where.
  QStringView name;
  SourceRange nameRange;
  // The library or the use url name before "." or "#"; it starts the call.
  QStringView qualifier;
  // An integer literal's value, or a float literal's.
  union {
    qint64 integerValue = 0;
    double floatValue;
  };
  QStringView stringValue;
  NodeSpan<Expression> operands;
  // Set by the checks: the standard library function called.
  const LibraryFunction* library = nullptr;

  // Where the qualifier is written (names are ASCII and on one line).
  SourceRange qualifierRange() const {
    return {range.start, {range.start.line, range.start.column + int(qualifier.size())}};
  }
};

struct VariableDeclaration {
  QStringView name;
  SourceRange range;
  Expression* initializer = nullptr;
  int slot = -1; // the variable's index, set by the checks
};

struct Statement {
  enum class Kind : quint8 {
    Empty,
    Expression,
    Block,
    Var,
    If,
    While,
    For,
    Break,
    Continue,
    Return
  };
  Kind kind = Kind::Empty;
  SourceRange range;
  // The expression statement's expression, the condition of if, while and
  // for, or the returned value (may be null: "return;", "for (;;)").
  Expression* expression = nullptr;
  // A for statement's initialiser (when it declares no variables) and its
  // update.
  Expression* initializer = nullptr;
  Expression* update = nullptr;
  // A var statement's (or a for's "var ...") declarations.
  NodeSpan<VariableDeclaration> declarations;
  // A block's statements; an if's then and else (else may be absent); a
  // loop's body.
  NodeSpan<Statement> children;
};

struct Parameter {
  QStringView name;
  SourceRange range;
};

struct FunctionDeclaration {
  bool isExtern = false;
  QStringView name;
  SourceRange nameRange;
  SourceRange range;
  std::vector<Parameter> parameters;
  NodeSpan<Statement> body;
  int localCount = 0; // variables declared in the body, set by the checks
};

struct Pragma {
  enum class Kind { Url, Access, MetaName, MetaHttpEquiv, MetaUserAgent };
  Kind kind = Kind::Url;
  SourceRange range;
  // use url: the local name and the URL.
  QString name;
  SourceRange nameRange;
  QString url;
  // use access.
  std::optional<QString> domain;
  std::optional<QString> path;
  // use meta: property name, content and the optional scheme.
  QString property;
  QString content;
  std::optional<QString> scheme;
};

struct CompilationUnit {
  std::vector<Pragma> pragmas;
  std::vector<FunctionDeclaration> functions;
  // Where the nodes live.
  std::unique_ptr<std::pmr::monotonic_buffer_resource> arena;
  // The values of string literals with escapes (the others view the source).
  QList<QString> decodedStrings;
};

struct ParseResult {
  CompilationUnit unit;
  // Lexical warnings, then the first syntax error (parsing stops there;
  // the unit holds what was read before it).
  QList<Finding> findings;
  bool complete = false;
};

// Parses a unit; its names and strings view `source`, which must outlive
// the result.
ParseResult parseScript(const QString& source);

// A finding at a range.
Finding findingAt(const SourceRange& range, Severity severity, const QString& rule,
                  const QString& message);

} // namespace tessera::wml::script
