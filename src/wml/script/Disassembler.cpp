#include "wml/script/Disassembler.h"

#include "wml/script/BytecodeReader.h"
#include "wml/script/Instructions.h"
#include "wml/script/LibraryTable.h"
#include "wml/script/Value.h"

namespace tessera::wml::script {

namespace {

QString constantText(const BytecodeConstant& constant) {
  switch (constant.type) {
  case ConstantType::Integer8:
  case ConstantType::Integer16:
  case ConstantType::Integer32: return QStringLiteral("integer %1").arg(constant.integer);
  case ConstantType::Float32: {
    const Value value = Value::floating(double(constant.number));
    return value.isInvalid() ? QStringLiteral("float (not a finite number)")
                             : QStringLiteral("float ") + floatToText(value.floatValue());
  }
  case ConstantType::Utf8String: return QStringLiteral("utf8 ") + quoteText(constant.text);
  case ConstantType::EmptyString: return QStringLiteral("empty string");
  case ConstantType::ExternalString: return QStringLiteral("string ") + quoteText(constant.text);
  }
  return {};
}

QString constantNote(const BytecodeUnit& unit, int index) {
  if (index < 0 || index >= unit.constants.size())
    return QStringLiteral("no such constant");
  return constantText(unit.constants[index]);
}

QString pragmaText(const BytecodeUnit& unit, const BytecodePragma& pragma) {
  QString kind;
  switch (pragma.type) {
  case PragmaType::AccessDomain: kind = QStringLiteral("access domain"); break;
  case PragmaType::AccessPath: kind = QStringLiteral("access path"); break;
  case PragmaType::UserAgentProperty: kind = QStringLiteral("meta user agent"); break;
  case PragmaType::UserAgentPropertyAndScheme:
    kind = QStringLiteral("meta user agent with scheme");
    break;
  }
  QStringList parts{kind};
  for (const int index : pragma.constants)
    parts << QStringLiteral("[%1] %2").arg(index).arg(constantNote(unit, index));
  return parts.join(QStringLiteral("  "));
}

QString instructionText(const BytecodeUnit& unit, const RawInstruction& in, qsizetype position) {
  const QString name =
      QString::fromLatin1(mnemonic(in.op).data(), qsizetype(mnemonic(in.op).size()));
  if (isJump(in.op))
    return QStringLiteral("%1 %2").arg(name).arg(in.a).leftJustified(22) +
           QStringLiteral("; -> %1").arg(jumpTarget(in, position), 4, 10, QLatin1Char('0'));
  switch (in.op) {
  case Opcode::CallLib:
  case Opcode::CallLibS:
  case Opcode::CallLibW: {
    const LibraryFunction* function = libraryFunction(in.b, in.a);
    return QStringLiteral("%1 %2 %3").arg(name).arg(in.a).arg(in.b).leftJustified(22) +
           (function ? QStringLiteral("; %1.%2").arg(function->library, function->name)
                     : QStringLiteral("; no such library function"));
  }
  case Opcode::CallUrl:
  case Opcode::CallUrlW:
    return QStringLiteral("%1 %2 %3 %4").arg(name).arg(in.a).arg(in.b).arg(in.c).leftJustified(22) +
           QStringLiteral("; %1 # %2").arg(constantNote(unit, in.a), constantNote(unit, in.b));
  case Opcode::LoadConst:
  case Opcode::LoadConstS:
  case Opcode::LoadConstW:
    return QStringLiteral("%1 %2").arg(name).arg(in.a).leftJustified(22) + QStringLiteral("; ") +
           constantNote(unit, in.a);
  case Opcode::Call:
  case Opcode::CallS:
  case Opcode::LoadVar:
  case Opcode::LoadVarS:
  case Opcode::StoreVar:
  case Opcode::StoreVarS:
  case Opcode::IncrVar:
  case Opcode::IncrVarS:
  case Opcode::DecrVar:
  case Opcode::AddAsg:
  case Opcode::SubAsg: return QStringLiteral("%1 %2").arg(name).arg(in.a);
  default: return name;
  }
}

} // namespace

QString disassemble(const BytecodeUnit& unit, qsizetype fileSize) {
  QString out;
  out += QStringLiteral("; WMLScript bytecode %1.%2, %3 bytes\n")
             .arg((unit.version >> 4) + 1)
             .arg(unit.version & 0x0F)
             .arg(fileSize);
  const QString charset = characterSetName(unit.characterSet);
  out += QStringLiteral("constants: %1, character set %2%3\n")
             .arg(unit.constants.size())
             .arg(unit.characterSet)
             .arg(charset.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(charset));
  for (int i = 0; i < unit.constants.size(); ++i)
    out += QStringLiteral("  [%1] %2\n").arg(i).arg(constantText(unit.constants[i]));
  out += QStringLiteral("pragmas: %1\n").arg(unit.pragmas.size());
  for (int i = 0; i < unit.pragmas.size(); ++i)
    out += QStringLiteral("  [%1] %2\n").arg(i).arg(pragmaText(unit, unit.pragmas[i]));
  out += QStringLiteral("functions: %1\n").arg(unit.functions.size());
  for (int f = 0; f < unit.functions.size(); ++f) {
    const BytecodeFunction& function = unit.functions[f];
    out +=
        QStringLiteral("function %1%2 (%3 arguments, %4 locals, %5 bytes)\n")
            .arg(f)
            .arg(function.name.isEmpty() ? QString() : QStringLiteral(" extern ") + function.name)
            .arg(function.arguments)
            .arg(function.locals)
            .arg(function.code.size());
    for (qsizetype position = 0; position < function.code.size();) {
      const auto in = decodeInstruction(function.code, position);
      if (!in) {
        out += QStringLiteral("  %1  .byte 0x%2   ; not an instruction\n")
                   .arg(position, 4, 10, QLatin1Char('0'))
                   .arg(quint8(function.code.at(position)), 2, 16, QLatin1Char('0'));
        ++position;
        continue;
      }
      out += QStringLiteral("  %1  %2\n")
                 .arg(position, 4, 10, QLatin1Char('0'))
                 .arg(instructionText(unit, *in, position));
      position += in->length;
    }
  }
  return out;
}

} // namespace tessera::wml::script
