#include "wml/script/ScriptCodeGen.h"

#include "wml/script/ScriptAssembler.h"

#include <QHash>

namespace tessera::wml::script {

namespace {

class Generator {
public:
  explicit Generator(const CompilationUnit& unit) : unit(unit) {}

  UnitCode run() {
    for (const Pragma& pragma : unit.pragmas)
      addPragma(pragma);
    for (const FunctionDeclaration& function : unit.functions)
      generateFunction(function);
    return std::move(out);
  }

private:
  const CompilationUnit& unit;
  UnitCode out;
  FunctionCode* function = nullptr;
  QList<CodeInstruction> scratch;
  // Where break and continue of the innermost loop go.
  struct Loop {
    int breakLabel;
    int continueLabel;
  };
  QList<Loop> loops;

  // Each value once in the pool, found by its value, so a unit with tens
  // of thousands of constants is not searched from the start for each.
  // Numbers are keyed by type and bits (a float by its bits: 0.0 and -0.0
  // are two constants).
  QHash<quint64, int> numberConstants;
  // Keyed by views of the pool's own strings, which stay where they are.
  QHash<QStringView, int> stringConstants;

  int numberConstant(const CodeConstant& value) {
    const quint32 bits = value.type == CodeConstant::Type::Float
                             ? std::bit_cast<quint32>(value.floating)
                             : quint32(value.integer);
    const quint64 key = (value.type == CodeConstant::Type::Float ? quint64(1) << 32 : 0) | bits;
    // A new entry holds 0; entries hold the number plus one.
    int& found = numberConstants[key];
    if (found == 0) {
      out.constants.append(value);
      found = int(out.constants.size());
    }
    return found - 1;
  }
  int stringConstant(QStringView text, const SourceRange& where) {
    const auto found = stringConstants.constFind(text);
    if (found != stringConstants.constEnd())
      return found.value();
    CodeConstant c;
    c.type = CodeConstant::Type::String;
    c.string = text.toString();
    c.where = where;
    out.constants.append(c);
    const int index = int(out.constants.size()) - 1;
    stringConstants.insert(out.constants.last().string, index);
    return index;
  }

  void addPragma(const Pragma& pragma) {
    switch (pragma.kind) {
    case Pragma::Kind::Access:
      if (pragma.domain)
        out.pragmas.append(
            {PragmaType::AccessDomain, {stringConstant(*pragma.domain, pragma.range)}});
      if (pragma.path)
        out.pragmas.append({PragmaType::AccessPath, {stringConstant(*pragma.path, pragma.range)}});
      break;
    case Pragma::Kind::MetaUserAgent: {
      PragmaCode code{PragmaType::UserAgentProperty,
                      {stringConstant(pragma.property, pragma.range),
                       stringConstant(pragma.content, pragma.range)}};
      if (pragma.scheme) {
        code.type = PragmaType::UserAgentPropertyAndScheme;
        code.constants.append(stringConstant(*pragma.scheme, pragma.range));
      }
      out.pragmas.append(code);
      break;
    }
    // use url is kept as the URL constant of the calls that use it; meta
    // name is for the origin server only and http equiv becomes a response
    // header: the bytecode has no place for either.
    default: break;
    }
  }

  QString urlOf(QStringView name) const {
    for (const Pragma& pragma : unit.pragmas)
      if (pragma.kind == Pragma::Kind::Url && pragma.name == name)
        return pragma.url;
    return QString();
  }

  int newLabel() { return function->labelCount++; }
  void place(int label) {
    CodeInstruction i;
    i.isLabel = true;
    i.label = label;
    function->code.append(i);
  }
  void add(Opcode op, int a = 0, int b = 0) {
    CodeInstruction i;
    i.op = op;
    i.a = a;
    i.b = b;
    function->code.append(i);
  }
  void jump(Opcode op, int label, const SourceRange& where) {
    CodeInstruction i;
    i.op = op;
    i.label = label;
    i.a = int(function->jumpSources.size());
    function->jumpSources.append(where);
    function->code.append(i);
  }

  void generateFunction(const FunctionDeclaration& declaration) {
    out.functions.append(FunctionCode{});
    function = &out.functions.last();
    function->name = declaration.name.toString();
    function->isExtern = declaration.isExtern;
    function->nameRange = declaration.nameRange;
    function->parameterCount = int(declaration.parameters.size());
    function->localCount = declaration.localCount;
    // Each function's code is made in one list kept from function to
    // function, then kept at its final size: the unit's code is the larger
    // part of what the compiler holds, and growing a list per function
    // would leave most of it twice.
    std::swap(function->code, scratch);
    function->code.clear();
    for (const auto& statement : declaration.body)
      generateStatement(*statement);
    add(Opcode::ReturnEs);
    optimiseFunction(*function);
    scratch = QList<CodeInstruction>(function->code.cbegin(), function->code.cend());
    std::swap(function->code, scratch);
  }

  void generateStatement(const Statement& statement) {
    using Kind = Statement::Kind;
    switch (statement.kind) {
    case Kind::Empty: break;
    case Kind::Expression: generate(*statement.expression, false); break;
    case Kind::Block:
      for (const auto& child : statement.children)
        generateStatement(*child);
      break;
    case Kind::Var: generateDeclarations(statement); break;
    case Kind::If: {
      const int otherwise = newLabel();
      branchIfFalse(*statement.expression, otherwise, statement.range);
      generateStatement(*statement.children[0]);
      if (statement.children.size() > 1) {
        const int end = newLabel();
        jump(Opcode::JumpFw, end, statement.range);
        place(otherwise);
        generateStatement(*statement.children[1]);
        place(end);
      } else {
        place(otherwise);
      }
      break;
    }
    case Kind::While: {
      const int top = newLabel(), exit = newLabel();
      place(top);
      branchIfFalse(*statement.expression, exit, statement.range);
      loops.append({exit, top});
      generateStatement(*statement.children.front());
      loops.removeLast();
      jump(Opcode::JumpFw, top, statement.range);
      place(exit);
      break;
    }
    case Kind::For: {
      generateDeclarations(statement);
      if (statement.initializer)
        generate(*statement.initializer, false);
      const int top = newLabel(), next = newLabel(), exit = newLabel();
      place(top);
      if (statement.expression)
        branchIfFalse(*statement.expression, exit, statement.range);
      loops.append({exit, next});
      generateStatement(*statement.children.front());
      loops.removeLast();
      place(next);
      if (statement.update)
        generate(*statement.update, false);
      jump(Opcode::JumpFw, top, statement.range);
      place(exit);
      break;
    }
    case Kind::Break: jump(Opcode::JumpFw, loops.last().breakLabel, statement.range); break;
    case Kind::Continue: jump(Opcode::JumpFw, loops.last().continueLabel, statement.range); break;
    case Kind::Return:
      if (statement.expression) {
        generate(*statement.expression, true);
        add(Opcode::Return);
      } else {
        add(Opcode::ReturnEs);
      }
      break;
    }
  }

  void generateDeclarations(const Statement& statement) {
    for (const VariableDeclaration* declaration : statement.declarations) {
      if (declaration->initializer) {
        generate(*declaration->initializer, true);
      } else if (!loops.isEmpty()) {
        // The declaration sets the variable to "" each time it runs; the
        // interpreter does that only once, on entry, so a declaration a
        // loop repeats must do it itself.
        add(Opcode::ConstEs);
      } else {
        continue;
      }
      add(Opcode::StoreVar, declaration->slot);
    }
  }

  // Leaves the control at `label` when the condition is false or invalid,
  // and falls through when it is true.
  void branchIfFalse(const Expression& condition, int label, const SourceRange& where) {
    if (condition.kind == Expression::Kind::LogicalAnd) {
      branchIfFalse(*condition.operands[0], label, where);
      branchIfFalse(*condition.operands[1], label, where);
      return;
    }
    generate(condition, true, true);
    jump(Opcode::TJumpFw, label, where);
  }

  void loadConstant(CodeConstant value, const SourceRange& where) {
    value.where = where;
    add(Opcode::LoadConst, numberConstant(value));
  }

  void generateInteger(qint64 value, const SourceRange& where) {
    if (value == 0)
      add(Opcode::Const0);
    else if (value == 1)
      add(Opcode::Const1);
    else if (value == -1)
      add(Opcode::ConstM1);
    else {
      CodeConstant c;
      c.integer = qint32(value);
      loadConstant(c, where);
    }
  }
  void generateFloat(double value, const SourceRange& where) {
    CodeConstant c;
    c.type = CodeConstant::Type::Float;
    c.floating = float(value);
    loadConstant(c, where);
  }

  // A binary operator's instruction; a compound assignment's ("*=") is its
  // operator's.
  static Opcode binaryOpcode(Symbol op) {
    switch (op) {
    case Symbol::Times:
    case Symbol::TimesAssign: return Opcode::Mul;
    case Symbol::Divide:
    case Symbol::DivideAssign: return Opcode::Div;
    case Symbol::Div:
    case Symbol::DivAssign: return Opcode::IDiv;
    case Symbol::Remainder:
    case Symbol::RemainderAssign: return Opcode::Rem;
    case Symbol::Plus:
    case Symbol::PlusAssign: return Opcode::Add;
    case Symbol::Minus:
    case Symbol::MinusAssign: return Opcode::Sub;
    case Symbol::ShiftLeft:
    case Symbol::ShiftLeftAssign: return Opcode::BLShift;
    case Symbol::ShiftRight:
    case Symbol::ShiftRightAssign: return Opcode::BRsShift;
    case Symbol::ShiftRightZero:
    case Symbol::ShiftRightZeroAssign: return Opcode::BRszShift;
    case Symbol::Less: return Opcode::Lt;
    case Symbol::Greater: return Opcode::Gt;
    case Symbol::LessEqual: return Opcode::Le;
    case Symbol::GreaterEqual: return Opcode::Ge;
    case Symbol::Equal: return Opcode::Eq;
    case Symbol::NotEqual: return Opcode::Ne;
    case Symbol::And:
    case Symbol::AndAssign: return Opcode::BAnd;
    case Symbol::Xor:
    case Symbol::XorAssign: return Opcode::BXor;
    case Symbol::Or:
    case Symbol::OrAssign: return Opcode::BOr;
    default: return Opcode::Debug;
    }
  }

  // Emits the expression; with `wanted` false its value is dropped (only
  // its effects are kept). `asCondition`: the value feeds a conditional
  // jump, which converts to boolean itself.
  void generate(const Expression& e, bool wanted, bool asCondition = false) {
    using Kind = Expression::Kind;
    switch (e.kind) {
    case Kind::Integer:
    case Kind::Float:
    case Kind::String:
    case Kind::Boolean:
    case Kind::Invalid:
    case Kind::Variable:
      if (wanted)
        generateValue(e);
      return;
    case Kind::Assign: generateAssign(e, wanted); return;
    case Kind::PreIncrement:
    case Kind::PostIncrement: {
      const Opcode step = e.op == Symbol::PlusPlus ? Opcode::IncrVar : Opcode::DecrVar;
      if (wanted && e.kind == Kind::PostIncrement)
        add(Opcode::LoadVar, e.slot);
      add(step, e.slot);
      if (wanted && e.kind == Kind::PreIncrement)
        add(Opcode::LoadVar, e.slot);
      return;
    }
    case Kind::Unary: generateUnary(e, wanted); return;
    case Kind::Binary:
      generate(*e.operands[0], wanted);
      generate(*e.operands[1], wanted);
      if (wanted)
        add(binaryOpcode(e.op));
      return;
    case Kind::LogicalAnd:
    case Kind::LogicalOr: {
      const int end = newLabel();
      if (!wanted) {
        // Only the right side's effects are conditional.
        generate(*e.operands[0], true, true);
        if (e.kind == Kind::LogicalOr)
          add(Opcode::Not);
        jump(Opcode::TJumpFw, end, e.range);
        generate(*e.operands[1], false);
        place(end);
        return;
      }
      generate(*e.operands[0], true, true);
      add(e.kind == Kind::LogicalAnd ? Opcode::ScAnd : Opcode::ScOr);
      jump(Opcode::TJumpFw, end, e.range);
      generate(*e.operands[1], true, asCondition);
      if (!asCondition)
        add(Opcode::ToBool);
      place(end);
      return;
    }
    case Kind::Conditional: {
      const int otherwise = newLabel(), end = newLabel();
      branchIfFalse(*e.operands[0], otherwise, e.range);
      generate(*e.operands[1], wanted);
      jump(Opcode::JumpFw, end, e.range);
      place(otherwise);
      generate(*e.operands[2], wanted);
      place(end);
      return;
    }
    case Kind::Comma:
      generate(*e.operands[0], false);
      generate(*e.operands[1], wanted, asCondition);
      return;
    case Kind::LocalCall:
    case Kind::LibraryCall:
    case Kind::ExternalCall: generateCall(e, wanted); return;
    }
  }

  void generateValue(const Expression& e) {
    using Kind = Expression::Kind;
    switch (e.kind) {
    case Kind::Integer: generateInteger(e.integerValue, e.range); break;
    case Kind::Float: generateFloat(e.floatValue, e.range); break;
    case Kind::String:
      if (e.stringValue.isEmpty())
        add(Opcode::ConstEs);
      else
        add(Opcode::LoadConst, stringConstant(e.stringValue, e.range));
      break;
    case Kind::Boolean: add(e.booleanValue ? Opcode::ConstTrue : Opcode::ConstFalse); break;
    case Kind::Invalid: add(Opcode::ConstInvalid); break;
    default: add(Opcode::LoadVar, e.slot); break;
    }
  }

  void generateAssign(const Expression& e, bool wanted) {
    const Expression& value = *e.operands.front();
    if (e.op == Symbol::Assign) {
      generate(value, true);
      add(Opcode::StoreVar, e.slot);
    } else if (e.op == Symbol::PlusAssign || e.op == Symbol::MinusAssign) {
      generate(value, true);
      add(e.op == Symbol::PlusAssign ? Opcode::AddAsg : Opcode::SubAsg, e.slot);
    } else {
      add(Opcode::LoadVar, e.slot);
      generate(value, true);
      add(binaryOpcode(e.op));
      add(Opcode::StoreVar, e.slot);
    }
    if (wanted)
      add(Opcode::LoadVar, e.slot);
  }

  void generateUnary(const Expression& e, bool wanted) {
    const Expression& operand = *e.operands.front();
    if (!wanted) {
      generate(operand, false);
      return;
    }
    if (e.op == Symbol::Minus && operand.kind == Expression::Kind::Integer) {
      generateInteger(-operand.integerValue, e.range);
      return;
    }
    if (e.op == Symbol::Minus && operand.kind == Expression::Kind::Float) {
      generateFloat(-operand.floatValue, e.range);
      return;
    }
    if (e.op == Symbol::Plus &&
        (operand.kind == Expression::Kind::Integer || operand.kind == Expression::Kind::Float)) {
      generateValue(operand);
      return;
    }
    generate(operand, true);
    if (e.op == Symbol::Minus)
      add(Opcode::UMinus);
    else if (e.op == Symbol::Plus) {
      // No instruction converts to a number alone; subtracting zero does
      // (a string that is no number becomes invalid, as unary plus makes it).
      add(Opcode::Const0);
      add(Opcode::Sub);
    } else if (e.op == Symbol::Tilde)
      add(Opcode::BNot);
    else if (e.op == Symbol::Not)
      add(Opcode::Not);
    else if (e.op == Symbol::TypeOf)
      add(Opcode::TypeOf);
    else
      add(Opcode::IsValid);
  }

  void generateCall(const Expression& e, bool wanted) {
    for (const auto& argument : e.operands)
      generate(*argument, true);
    if (e.kind == Expression::Kind::LocalCall) {
      add(Opcode::Call, e.slot);
    } else if (e.kind == Expression::Kind::LibraryCall) {
      add(Opcode::CallLib, e.library->functionId, e.library->libraryId);
    } else {
      CodeInstruction i;
      i.op = Opcode::CallUrl;
      i.a = stringConstant(urlOf(e.qualifier), e.qualifierRange());
      i.b = stringConstant(e.name, e.nameRange);
      i.argumentCount = quint8(e.operands.size());
      function->code.append(i);
    }
    if (!wanted)
      add(Opcode::Pop);
  }
};

} // namespace

UnitCode generateCode(const CompilationUnit& unit) { return Generator(unit).run(); }

} // namespace tessera::wml::script
