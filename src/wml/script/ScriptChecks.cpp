#include "wml/script/ScriptChecks.h"

#include "wml/script/LibraryTable.h"

#include <QHash>

#include <cmath>

namespace tessera::wml::script {

namespace {

// What the bytecode format can hold (a count in one byte, a function's
// variables addressed by one byte).
constexpr int maxFunctions = 255;
constexpr int maxParameters = 255;
constexpr int maxLocals = 255;
constexpr int maxVariables = 256;
constexpr int maxNameBytes = 255;
constexpr int maxUrlArguments = 255;
constexpr qint64 maxInteger = 2147483647;

QString arguments(int count) {
  return count == 1 ? QStringLiteral("1 argument") : QStringLiteral("%1 arguments").arg(count);
}

class Checker {
public:
  explicit Checker(CompilationUnit& unit) : unit(unit) {}

  QList<Finding> run() {
    checkPragmas();
    checkFunctionTable();
    for (FunctionDeclaration& function : unit.functions)
      checkFunction(function);
    return findings;
  }

private:
  CompilationUnit& unit;
  QList<Finding> findings;
  // Keyed by views of the unit's names, which outlive the checks.
  QHash<QStringView, int> functionIndex;
  QHash<QStringView, int> urlNames;
  // The function being checked: its variables so far and loop depth.
  QHash<QStringView, int> variables;
  int parameterCount = 0;
  int localCount = 0;
  int loopDepth = 0;

  void error(const SourceRange& range, const QString& rule, const QString& message) {
    findings.append(findingAt(range, Severity::Error, rule, message));
  }

  void checkPragmas() {
    const Pragma* access = nullptr;
    for (const Pragma& pragma : unit.pragmas) {
      if (pragma.kind == Pragma::Kind::Url) {
        if (urlNames.contains(pragma.name))
          error(pragma.nameRange, QStringLiteral("duplicate-url-name"),
                QStringLiteral("\"%1\" already names a unit (use url on line %2)")
                    .arg(pragma.name)
                    .arg(urlNames.value(pragma.name)));
        else
          urlNames.insert(pragma.name, pragma.range.start.line);
      } else if (pragma.kind == Pragma::Kind::Access) {
        if (access)
          error(pragma.range, QStringLiteral("duplicate-access-pragma"),
                QStringLiteral("a unit has one access pragma; another is on line %1")
                    .arg(access->range.start.line));
        else
          access = &pragma;
      }
    }
  }

  void checkFunctionTable() {
    bool anyExtern = false;
    for (int i = 0; i < int(unit.functions.size()); ++i) {
      const FunctionDeclaration& function = unit.functions[i];
      anyExtern = anyExtern || function.isExtern;
      if (functionIndex.contains(function.name)) {
        error(function.nameRange, QStringLiteral("duplicate-function"),
              QStringLiteral("function \"%1\" is already declared on line %2")
                  .arg(function.name)
                  .arg(unit.functions[functionIndex.value(function.name)].nameRange.start.line));
        continue;
      }
      functionIndex.insert(function.name, i);
      if (i == maxFunctions)
        error(function.nameRange, QStringLiteral("too-many-functions"),
              QStringLiteral("a unit holds at most %1 functions").arg(maxFunctions));
      if (function.name.toUtf8().size() > maxNameBytes)
        error(function.nameRange, QStringLiteral("name-too-long"),
              QStringLiteral("a function name has at most %1 characters").arg(maxNameBytes));
    }
    if (!anyExtern) {
      const SourceRange where =
          unit.functions.empty() ? SourceRange{{1, 1}, {1, 1}} : unit.functions.front().nameRange;
      error(where, QStringLiteral("no-extern-function"),
            QStringLiteral("no function is declared extern, so nothing in this unit can be "
                           "called"));
    }
  }

  void checkFunction(FunctionDeclaration& function) {
    variables.clear();
    localCount = 0;
    loopDepth = 0;
    parameterCount = int(function.parameters.size());
    for (int i = 0; i < int(function.parameters.size()); ++i) {
      const Parameter& parameter = function.parameters[i];
      if (variables.contains(parameter.name)) {
        error(parameter.range, QStringLiteral("duplicate-parameter"),
              QStringLiteral("parameter \"%1\" is named twice").arg(parameter.name));
        continue;
      }
      if (i == maxParameters)
        error(parameter.range, QStringLiteral("too-many-parameters"),
              QStringLiteral("a function takes at most %1 parameters").arg(maxParameters));
      variables.insert(parameter.name, i);
    }
    for (auto& statement : function.body)
      checkStatement(*statement);
    function.localCount = localCount;
  }

  void declare(VariableDeclaration& declaration) {
    if (declaration.initializer)
      checkExpression(*declaration.initializer);
    if (variables.contains(declaration.name)) {
      const bool isParameter = variables.value(declaration.name) < parameterCount;
      error(declaration.range, QStringLiteral("duplicate-variable"),
            isParameter ? QStringLiteral("\"%1\" is already a parameter of this function")
                              .arg(declaration.name)
                        : QStringLiteral("variable \"%1\" is already declared in this function")
                              .arg(declaration.name));
      declaration.slot = variables.value(declaration.name);
      return;
    }
    if (localCount == maxLocals || parameterCount + localCount == maxVariables)
      error(declaration.range, QStringLiteral("too-many-variables"),
            QStringLiteral("a function has at most %1 variables and %2 variables and parameters "
                           "together")
                .arg(maxLocals)
                .arg(maxVariables));
    declaration.slot = parameterCount + localCount++;
    variables.insert(declaration.name, declaration.slot);
  }

  void checkStatement(Statement& statement) {
    using Kind = Statement::Kind;
    switch (statement.kind) {
    case Kind::Empty: break;
    case Kind::Break:
    case Kind::Continue:
      if (loopDepth == 0) {
        const bool isBreak = statement.kind == Kind::Break;
        error(statement.range,
              isBreak ? QStringLiteral("break-outside-loop")
                      : QStringLiteral("continue-outside-loop"),
              QStringLiteral("\"%1\" outside a while or for loop")
                  .arg(isBreak ? u"break" : u"continue"));
      }
      break;
    case Kind::Var:
      for (VariableDeclaration* declaration : statement.declarations)
        declare(*declaration);
      break;
    case Kind::For:
      for (VariableDeclaration* declaration : statement.declarations)
        declare(*declaration);
      if (statement.initializer)
        checkExpression(*statement.initializer);
      if (statement.expression)
        checkExpression(*statement.expression);
      // The update runs after the body, but it is written before it: a
      // variable the body declares is not yet declared where the update
      // is read.
      if (statement.update)
        checkExpression(*statement.update);
      ++loopDepth;
      checkStatement(*statement.children.front());
      --loopDepth;
      break;
    case Kind::While:
      checkExpression(*statement.expression);
      ++loopDepth;
      checkStatement(*statement.children.front());
      --loopDepth;
      break;
    default:
      if (statement.expression)
        checkExpression(*statement.expression);
      for (auto& child : statement.children)
        checkStatement(*child);
      break;
    }
  }

  void useVariable(Expression& expression) {
    const auto found = variables.constFind(expression.name);
    if (found == variables.constEnd()) {
      const bool isFunction = functionIndex.contains(expression.name);
      error(expression.nameRange, QStringLiteral("undeclared-variable"),
            isFunction ? QStringLiteral("\"%1\" is a function, not a variable (a call needs "
                                        "parentheses)")
                             .arg(expression.name)
                       : QStringLiteral("variable \"%1\" is not declared (declare it with "
                                        "\"var\" before its first use)")
                             .arg(expression.name));
      return;
    }
    expression.slot = found.value();
  }

  void checkLiteral(Expression& expression, bool negated) {
    if (expression.kind == Expression::Kind::Integer) {
      const qint64 limit = negated ? maxInteger + 1 : maxInteger;
      if (expression.integerValue > limit)
        error(expression.range, QStringLiteral("literal-out-of-range"),
              QStringLiteral("integer literal out of range (-2147483648 to 2147483647)"));
    } else if (expression.kind == Expression::Kind::Float) {
      if (std::isinf(float(expression.floatValue)))
        error(expression.range, QStringLiteral("literal-out-of-range"),
              QStringLiteral("floating-point literal out of range (largest 3.40282347E+38)"));
      else if (expression.floatUnderflow)
        findings.append(findingAt(expression.range, Severity::Warning,
                                  QStringLiteral("float-underflow"),
                                  QStringLiteral("floating-point literal too small for a 32-bit "
                                                 "float; it is read as 0.0")));
    }
  }

  void checkCall(Expression& call) {
    const int given = int(call.operands.size());
    switch (call.kind) {
    case Expression::Kind::LocalCall: {
      const auto found = functionIndex.constFind(call.name);
      if (found == functionIndex.constEnd()) {
        QString message = QStringLiteral("no function \"%1\" in this unit").arg(call.name);
        for (const LibraryFunction& f : libraryFunctions())
          if (f.name == call.name) {
            message +=
                QStringLiteral(" (the library function is called as %1.%2)").arg(f.library, f.name);
            break;
          }
        error(call.nameRange, QStringLiteral("undefined-function"), message);
        break;
      }
      call.slot = found.value();
      const int wanted = int(unit.functions[call.slot].parameters.size());
      if (given != wanted)
        error(call.range, QStringLiteral("wrong-argument-count"),
              QStringLiteral("%1 takes %2, not %3").arg(call.name, arguments(wanted)).arg(given));
      break;
    }
    case Expression::Kind::LibraryCall: {
      if (!isLibraryName(call.qualifier)) {
        error(call.qualifierRange(), QStringLiteral("unknown-library"),
              QStringLiteral("no standard library \"%1\" (Lang, Float, String, URL, WMLBrowser, "
                             "Dialogs)")
                  .arg(call.qualifier));
        break;
      }
      call.library = findLibraryFunction(call.qualifier, call.name);
      if (!call.library) {
        error(
            call.nameRange, QStringLiteral("unknown-library-function"),
            QStringLiteral("the %1 library has no function \"%2\"").arg(call.qualifier, call.name));
        break;
      }
      if (given != call.library->argumentCount)
        error(call.range, QStringLiteral("wrong-argument-count"),
              QStringLiteral("%1.%2 takes %3, not %4")
                  .arg(call.qualifier, call.name, arguments(call.library->argumentCount))
                  .arg(given));
      break;
    }
    default:
      if (!urlNames.contains(call.qualifier))
        error(call.qualifierRange(), QStringLiteral("undeclared-url"),
              QStringLiteral("\"%1\" names no unit (declare it with use url %1 \"...\";)")
                  .arg(call.qualifier));
      if (given > maxUrlArguments)
        error(call.range, QStringLiteral("too-many-arguments"),
              QStringLiteral("a call to another unit passes at most %1 arguments")
                  .arg(maxUrlArguments));
      break;
    }
  }

  void checkExpression(Expression& expression) {
    using Kind = Expression::Kind;
    switch (expression.kind) {
    case Kind::Integer:
    case Kind::Float: checkLiteral(expression, false); return;
    case Kind::Variable:
    case Kind::PreIncrement:
    case Kind::PostIncrement: useVariable(expression); return;
    case Kind::Assign:
      // The value is computed before it is stored, so it is read first.
      checkExpression(*expression.operands.front());
      useVariable(expression);
      return;
    case Kind::Unary:
      if (expression.op == Symbol::Minus) {
        Expression& operand = *expression.operands.front();
        if (operand.kind == Kind::Integer || operand.kind == Kind::Float) {
          checkLiteral(operand, true);
          return;
        }
      }
      break;
    case Kind::LocalCall:
    case Kind::LibraryCall:
    case Kind::ExternalCall:
      for (auto& operand : expression.operands)
        checkExpression(*operand);
      checkCall(expression);
      return;
    default: break;
    }
    for (auto& operand : expression.operands)
      checkExpression(*operand);
  }
};

} // namespace

QList<Finding> checkUnit(CompilationUnit& unit) { return Checker(unit).run(); }

} // namespace tessera::wml::script
