#pragma once

#include "wml/script/Opcodes.h"

#include <QByteArray>

#include <optional>

namespace tessera::wml::script {

// One instruction as it stands in a code array: its opcode (short forms
// keep their own), its length and its operands in the standard's order
// (a jump's offset; a call's function, then library; CALL_URL's url
// constant, name constant and argument count; a variable or constant index).
struct RawInstruction {
  Opcode op;
  int length = 1;
  int a = 0;
  int b = 0;
  int c = 0;
};

// The instruction at `position`, or nothing when the byte is no opcode or
// the operands run past the end of the code.
std::optional<RawInstruction> decodeInstruction(const QByteArray& code, qsizetype position);

// Where a jump lands, as a byte offset in the same code array (may be
// outside it: the verifier checks).
qsizetype jumpTarget(const RawInstruction& instruction, qsizetype position);

bool isJump(Opcode op);
bool isConditionalJump(Opcode op);

} // namespace tessera::wml::script
