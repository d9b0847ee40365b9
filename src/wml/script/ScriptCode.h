#pragma once

#include "wml/script/Opcodes.h"
#include "wml/script/ScriptTokens.h"

#include <QList>
#include <QString>

#include <bit>

namespace tessera::wml::script {

// The compiler's intermediate form between the syntax tree and the bytes:
// instructions with symbolic operands (constant numbers before the pool is
// ordered, jump targets as labels), so the assembler can pick every
// instruction's shortest form once all is known.

struct CodeConstant {
  enum class Type { Integer, Float, String };
  Type type = Type::Integer;
  qint32 integer = 0;
  float floating = 0;
  QString string;
  // Where the value is first used (not part of its identity).
  SourceRange where;
  bool operator==(const CodeConstant& other) const {
    if (type != other.type)
      return false;
    switch (type) {
    case Type::Integer: return integer == other.integer;
    // Compared by bits: 0.0 and -0.0 are one value to a script, but the
    // pool keeps exactly what was written.
    case Type::Float:
      return std::bit_cast<quint32>(floating) == std::bit_cast<quint32>(other.floating);
    default: return string == other.string;
    }
  }
};

struct CodeInstruction {
  // A label marks a place jumps go to; it takes no bytes.
  bool isLabel = false;
  // For jumps: Opcode::JumpFw stands for any unconditional jump and
  // Opcode::TJumpFw for any conditional one; the assembler chooses
  // direction and width. Variable, constant and call instructions are given
  // by their long form (LoadVar, StoreVar, IncrVar, LoadConst, Call,
  // CallLib, CallUrl); the assembler shortens them.
  Opcode op = Opcode::Debug;
  // A call to another unit: how many arguments (the checks allow 255).
  quint8 argumentCount = 0;
  // The variable, constant, local function or library function number, or
  // the URL's constant; for a jump, its statement's index in the
  // function's jumpSources.
  int a = 0;
  // The library number, or the called function name's constant.
  int b = 0;
  // The label a jump goes to, or the label this is.
  int label = -1;
};

struct FunctionCode {
  QString name;
  bool isExtern = false;
  SourceRange nameRange;
  int parameterCount = 0;
  int localCount = 0;
  QList<CodeInstruction> code;
  int labelCount = 0;
  // Where each jump's statement is written, for the error about a jump
  // longer than the format allows.
  QList<SourceRange> jumpSources;
};

struct PragmaCode {
  PragmaType type = PragmaType::AccessDomain;
  QList<int> constants; // one to three constant numbers
};

struct UnitCode {
  QList<CodeConstant> constants; // in order of first use
  QList<PragmaCode> pragmas;
  QList<FunctionCode> functions;
};

} // namespace tessera::wml::script
