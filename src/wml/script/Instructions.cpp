#include "wml/script/Instructions.h"

namespace tessera::wml::script {

namespace {

int u8At(const QByteArray& code, qsizetype position) { return quint8(code.at(position)); }

int u16At(const QByteArray& code, qsizetype position) {
  return (quint8(code.at(position)) << 8) | quint8(code.at(position + 1));
}

} // namespace

std::optional<RawInstruction> decodeInstruction(const QByteArray& code, qsizetype position) {
  if (position < 0 || position >= code.size())
    return std::nullopt;
  const auto decoded = decodeOpcode(quint8(code.at(position)));
  if (!decoded)
    return std::nullopt;
  RawInstruction instruction{decoded->op, instructionLength(decoded->op)};
  if (position + instruction.length > code.size())
    return std::nullopt;
  const qsizetype p = position + 1;
  switch (instruction.op) {
  case Opcode::JumpFw:
  case Opcode::JumpBw:
  case Opcode::TJumpFw:
  case Opcode::TJumpBw:
  case Opcode::Call:
  case Opcode::LoadVar:
  case Opcode::StoreVar:
  case Opcode::IncrVar:
  case Opcode::DecrVar:
  case Opcode::AddAsg:
  case Opcode::SubAsg:
  case Opcode::LoadConst: instruction.a = u8At(code, p); break;
  case Opcode::JumpFwW:
  case Opcode::JumpBwW:
  case Opcode::TJumpFwW:
  case Opcode::TJumpBwW:
  case Opcode::LoadConstW: instruction.a = u16At(code, p); break;
  case Opcode::CallLibS:
    instruction.a = decoded->implicitParameter;
    instruction.b = u8At(code, p);
    break;
  case Opcode::CallLib:
    instruction.a = u8At(code, p);
    instruction.b = u8At(code, p + 1);
    break;
  case Opcode::CallLibW:
    instruction.a = u8At(code, p);
    instruction.b = u16At(code, p + 1);
    break;
  case Opcode::CallUrl:
    instruction.a = u8At(code, p);
    instruction.b = u8At(code, p + 1);
    instruction.c = u8At(code, p + 2);
    break;
  case Opcode::CallUrlW:
    instruction.a = u16At(code, p);
    instruction.b = u16At(code, p + 2);
    instruction.c = u8At(code, p + 4);
    break;
  default: instruction.a = decoded->implicitParameter; break;
  }
  return instruction;
}

bool isJump(Opcode op) {
  switch (op) {
  case Opcode::JumpFw:
  case Opcode::JumpFwW:
  case Opcode::JumpFwS:
  case Opcode::JumpBw:
  case Opcode::JumpBwW:
  case Opcode::JumpBwS: return true;
  default: return isConditionalJump(op);
  }
}

bool isConditionalJump(Opcode op) {
  switch (op) {
  case Opcode::TJumpFw:
  case Opcode::TJumpFwW:
  case Opcode::TJumpFwS:
  case Opcode::TJumpBw:
  case Opcode::TJumpBwW: return true;
  default: return false;
  }
}

qsizetype jumpTarget(const RawInstruction& instruction, qsizetype position) {
  switch (instruction.op) {
  case Opcode::JumpBw:
  case Opcode::JumpBwW:
  case Opcode::JumpBwS:
  case Opcode::TJumpBw:
  case Opcode::TJumpBwW:
    // Backward offsets count from the instruction itself.
    return position - instruction.a;
  default:
    // Forward ones from the byte after it.
    return position + instruction.length + instruction.a;
  }
}

} // namespace tessera::wml::script
