#include "wml/script/BytecodeVerifier.h"

#include "wml/script/BytecodeReader.h"
#include "wml/script/Instructions.h"
#include "wml/script/LibraryTable.h"

#include <QHash>
#include <QSet>
#include <QUrl>

#include <cmath>

namespace tessera::wml::script {

struct VerifierAccess {
  static VerifiedUnit& mutableUnit(const std::shared_ptr<VerifiedUnit>& unit) { return *unit; }
  static QList<Value>& constants(VerifiedUnit& unit) { return unit.constants_; }
  static QList<VerifiedFunction>& functions(VerifiedUnit& unit) { return unit.functions_; }
  static std::optional<QString>& accessDomain(VerifiedUnit& unit) { return unit.accessDomain_; }
  static std::optional<QString>& accessPath(VerifiedUnit& unit) { return unit.accessPath_; }
};

namespace {

bool isStringConstant(const BytecodeUnit& unit, int index) {
  if (index < 0 || index >= unit.constants.size())
    return false;
  const ConstantType type = unit.constants[index].type;
  return type == ConstantType::Utf8String || type == ConstantType::EmptyString ||
         type == ConstantType::ExternalString;
}

Value constantValue(const BytecodeConstant& constant) {
  switch (constant.type) {
  case ConstantType::Integer8:
  case ConstantType::Integer16:
  case ConstantType::Integer32: return Value::integer(constant.integer);
  case ConstantType::Float32:
    // A NaN or infinite constant loads as invalid; Value::floating sees to it.
    return Value::floating(double(constant.number));
  case ConstantType::EmptyString: return Value::string(QString());
  case ConstantType::Utf8String:
  case ConstantType::ExternalString: return Value::string(constant.text);
  }
  return {};
}

QString checkPragmas(const BytecodeUnit& unit, VerifiedUnit& verified) {
  for (int i = 0; i < unit.pragmas.size(); ++i) {
    const BytecodePragma& pragma = unit.pragmas[i];
    for (const int index : pragma.constants) {
      if (!isStringConstant(unit, index))
        return QStringLiteral("pragma %1 names constant %2, which is not a string")
            .arg(i)
            .arg(index);
    }
    std::optional<QString>* slot = nullptr;
    if (pragma.type == PragmaType::AccessDomain)
      slot = &VerifierAccess::accessDomain(verified);
    else if (pragma.type == PragmaType::AccessPath)
      slot = &VerifierAccess::accessPath(verified);
    if (!slot)
      continue;
    if (slot->has_value())
      return QStringLiteral("pragma %1 is a second access %2")
          .arg(i)
          .arg(pragma.type == PragmaType::AccessDomain ? QStringLiteral("domain")
                                                       : QStringLiteral("path"));
    *slot = constantValue(unit.constants[pragma.constants.first()]).stringValue();
  }
  return {};
}

QString checkFunctionNames(const BytecodeUnit& unit) {
  if (unit.functionNames.isEmpty())
    return QStringLiteral("the unit has no extern function");
  QSet<int> indices;
  QSet<QString> names;
  for (const auto& [index, name] : unit.functionNames) {
    if (index >= unit.functions.size())
      return QStringLiteral("the name \"%1\" is given to function %2 of %3")
          .arg(name)
          .arg(index)
          .arg(unit.functions.size());
    if (!isFunctionName(name))
      return QStringLiteral("\"%1\" is not a function name").arg(name);
    if (indices.contains(index))
      return QStringLiteral("function %1 is named twice").arg(index);
    if (names.contains(name))
      return QStringLiteral("two functions are named \"%1\"").arg(name);
    indices.insert(index);
    names.insert(name);
  }
  return {};
}

Opcode foldedOpcode(Opcode op) {
  switch (op) {
  case Opcode::JumpFw:
  case Opcode::JumpFwW:
  case Opcode::JumpFwS:
  case Opcode::JumpBw:
  case Opcode::JumpBwW:
  case Opcode::JumpBwS: return Opcode::JumpFw;
  case Opcode::TJumpFw:
  case Opcode::TJumpFwW:
  case Opcode::TJumpFwS:
  case Opcode::TJumpBw:
  case Opcode::TJumpBwW: return Opcode::TJumpFw;
  case Opcode::CallS: return Opcode::Call;
  case Opcode::CallLibS:
  case Opcode::CallLibW: return Opcode::CallLib;
  case Opcode::CallUrlW: return Opcode::CallUrl;
  case Opcode::LoadVarS: return Opcode::LoadVar;
  case Opcode::StoreVarS: return Opcode::StoreVar;
  case Opcode::IncrVarS: return Opcode::IncrVar;
  case Opcode::LoadConstS:
  case Opcode::LoadConstW: return Opcode::LoadConst;
  default: return op;
  }
}

bool usesVariable(Opcode folded) {
  switch (folded) {
  case Opcode::LoadVar:
  case Opcode::StoreVar:
  case Opcode::IncrVar:
  case Opcode::DecrVar:
  case Opcode::AddAsg:
  case Opcode::SubAsg: return true;
  default: return false;
  }
}

QString checkFunction(const BytecodeUnit& unit, int index, VerifiedFunction& out) {
  const BytecodeFunction& function = unit.functions[index];
  const auto where = [&](qsizetype position) {
    return QStringLiteral("function %1 at byte %2: ").arg(index).arg(position);
  };
  if (function.arguments + function.locals > maxVariablesPerFunction)
    return QStringLiteral("function %1 has %2 variables, more than %3")
        .arg(index)
        .arg(function.arguments + function.locals)
        .arg(maxVariablesPerFunction);
  out.arguments = function.arguments;
  out.locals = function.locals;
  out.name = function.name;
  const int variables = function.arguments + function.locals;
  const QByteArray& code = function.code;

  // First pass: cut the code into instructions and check each on its own.
  QHash<qsizetype, int> instructionAt;
  QList<RawInstruction> raw;
  QList<qsizetype> positions;
  for (qsizetype position = 0; position < code.size();) {
    const auto instruction = decodeInstruction(code, position);
    if (!instruction) {
      if (!decodeOpcode(quint8(code.at(position))))
        return where(position) + QStringLiteral("0x%1 is no instruction")
                                     .arg(quint8(code.at(position)), 2, 16, QLatin1Char('0'));
      return where(position) + QStringLiteral("the function ends inside an instruction");
    }
    instructionAt.insert(position, int(raw.size()));
    raw.append(*instruction);
    positions.append(position);
    position += instruction->length;
  }
  instructionAt.insert(code.size(), int(raw.size())); // the implicit RETURN_ES

  // Second pass: operands, now that every instruction's start is known.
  out.code.reserve(raw.size() + 1);
  for (int i = 0; i < raw.size(); ++i) {
    const RawInstruction& r = raw[i];
    const qsizetype position = positions[i];
    Instruction instruction{foldedOpcode(r.op), r.a, r.b, r.c};
    if (isJump(r.op)) {
      const qsizetype target = jumpTarget(r, position);
      const auto found = instructionAt.constFind(target);
      if (target < 0 || target > code.size())
        return where(position) + QStringLiteral("a jump leaves the function");
      if (found == instructionAt.cend())
        return where(position) + QStringLiteral("a jump lands inside an instruction");
      instruction.a = *found;
    } else if (usesVariable(instruction.op)) {
      if (r.a >= variables)
        return where(position) +
               QStringLiteral("variable %1 of a function with %2").arg(r.a).arg(variables);
    } else if (instruction.op == Opcode::LoadConst) {
      if (r.a >= unit.constants.size())
        return where(position) +
               QStringLiteral("constant %1 of %2").arg(r.a).arg(unit.constants.size());
    } else if (instruction.op == Opcode::Call) {
      if (r.a >= unit.functions.size())
        return where(position) +
               QStringLiteral("a call of function %1 of %2").arg(r.a).arg(unit.functions.size());
      instruction.b = unit.functions[r.a].arguments;
    } else if (instruction.op == Opcode::CallLib) {
      // Raw operands: a = function id, b = library id.
      const LibraryFunction* library = libraryFunction(r.b, r.a);
      if (!library)
        return where(position) +
               QStringLiteral("no library function %1 in library %2").arg(r.a).arg(r.b);
      instruction.a = r.b;
      instruction.b = r.a;
      instruction.c = library->argumentCount;
    } else if (instruction.op == Opcode::CallUrl) {
      if (!isStringConstant(unit, r.a) || unit.constants[r.a].type == ConstantType::EmptyString)
        return where(position) + QStringLiteral("the url of a call is not a string constant");
      if (!QUrl(unit.constants[r.a].text, QUrl::StrictMode).isValid())
        return where(position) +
               QStringLiteral("\"%1\" is not a valid url").arg(unit.constants[r.a].text);
      if (r.b >= unit.constants.size() || unit.constants[r.b].type != ConstantType::Utf8String ||
          !isFunctionName(unit.constants[r.b].text))
        return where(position) +
               QStringLiteral("the function of a url call is not a function name constant");
    }
    out.code.append(instruction);
  }
  out.code.append(Instruction{Opcode::ReturnEs});
  return {};
}

} // namespace

int VerifiedUnit::externFunction(const QString& name) const {
  if (name.isEmpty())
    return -1;
  for (int i = 0; i < functions_.size(); ++i) {
    if (functions_[i].name == name)
      return i;
  }
  return -1;
}

bool isFunctionName(const QString& name) {
  if (name.isEmpty())
    return false;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t c = name.at(i).unicode();
    const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
    const bool digit = c >= u'0' && c <= u'9';
    if (!letter && !(digit && i > 0))
      return false;
  }
  return true;
}

VerifyResult verifyBytecode(const BytecodeUnit& unit) {
  auto verified = std::make_shared<VerifiedUnit>();
  VerifiedUnit& target = VerifierAccess::mutableUnit(verified);
  VerifyResult result;
  if ((unit.version >> 4) != (bytecodeVersion >> 4) ||
      (unit.version & 0x0F) > (bytecodeVersion & 0x0F)) {
    result.error = QStringLiteral("unsupported bytecode version");
    return result;
  }
  result.error = checkPragmas(unit, target);
  if (result.error.isEmpty())
    result.error = checkFunctionNames(unit);
  if (!result.error.isEmpty())
    return result;
  auto& constants = VerifierAccess::constants(target);
  constants.reserve(unit.constants.size());
  for (const BytecodeConstant& constant : unit.constants)
    constants.append(constantValue(constant));
  auto& functions = VerifierAccess::functions(target);
  functions.resize(unit.functions.size());
  for (int i = 0; i < unit.functions.size(); ++i) {
    result.error = checkFunction(unit, i, functions[i]);
    if (!result.error.isEmpty())
      return result;
  }
  result.unit = std::move(verified);
  return result;
}

VerifyResult loadBytecode(const QByteArray& bytes) {
  const BytecodeReadResult read = readBytecode(bytes);
  if (!read.unit) {
    VerifyResult result;
    result.error = read.error;
    return result;
  }
  return verifyBytecode(*read.unit);
}

} // namespace tessera::wml::script
