#pragma once

#include "wml/Finding.h"
#include "wml/script/LibraryTable.h"
#include "wml/script/ScriptTokens.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace tessera::wml::script {

// The parsed compilation unit: what the checks and the code generator walk.
// Every node keeps where it was written, so a finding points at it.

struct Expression {
  enum class Kind {
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
  SourceRange range;
  // The variable's or called function's name as written, and where.
  QString name;
  SourceRange nameRange;
  // The library or the use url name before "." or "#", and where.
  QString qualifier;
  SourceRange qualifierRange;
  Symbol op = Symbol::None;
  qint64 integerValue = 0;
  double floatValue = 0;
  bool floatUnderflow = false;
  QString stringValue;
  bool booleanValue = false;
  std::vector<std::unique_ptr<Expression>> operands;
  // Filled in by the checks for the code generator: the variable's index,
  // the local function's index, the standard library function called.
  int slot = -1;
  const LibraryFunction* library = nullptr;
};

struct VariableDeclaration {
  QString name;
  SourceRange range;
  std::unique_ptr<Expression> initializer;
  int slot = -1; // the variable's index, set by the checks
};

struct Statement {
  enum class Kind { Empty, Expression, Block, Var, If, While, For, Break, Continue, Return };
  Kind kind = Kind::Empty;
  SourceRange range;
  // The expression statement's expression, the condition of if, while and
  // for, or the returned value (may be null: "return;", "for (;;)").
  std::unique_ptr<Expression> expression;
  // A for statement's initialiser (when it declares no variables) and its
  // update.
  std::unique_ptr<Expression> initializer;
  std::unique_ptr<Expression> update;
  // A var statement's (or a for's "var ...") declarations.
  std::vector<VariableDeclaration> declarations;
  // A block's statements; an if's then and else (else may be absent); a
  // loop's body.
  std::vector<std::unique_ptr<Statement>> children;
};

struct Parameter {
  QString name;
  SourceRange range;
};

struct FunctionDeclaration {
  bool isExtern = false;
  QString name;
  SourceRange nameRange;
  SourceRange range;
  std::vector<Parameter> parameters;
  std::vector<std::unique_ptr<Statement>> body;
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
};

struct ParseResult {
  CompilationUnit unit;
  // Lexical warnings, then the first syntax error (parsing stops there;
  // the unit holds what was read before it).
  QList<Finding> findings;
  bool complete = false;
};

ParseResult parseScript(const QString& source);

// A finding at a range.
Finding findingAt(const SourceRange& range, Severity severity, const QString& rule,
                  const QString& message);

} // namespace tessera::wml::script
