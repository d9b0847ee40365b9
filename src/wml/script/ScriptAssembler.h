#pragma once

#include "wml/Finding.h"
#include "wml/script/ScriptCode.h"

#include <QByteArray>
#include <QList>

namespace tessera::wml::script {

// Orders the constant pool (most used
// first, so they get the one-byte forms), chooses the character set and
// writes the bytecode. The format's limits are reported as errors and then
// nothing is returned.
QByteArray assembleUnit(UnitCode& unit, QList<Finding>& findings);

// The peephole pass the code generator runs on each function as it ends
// (jumps to jumps, jumps to the next instruction,
// code after an unconditional jump that nothing reaches, the trailing
// RETURN_ES the interpreter implies).
void optimiseFunction(FunctionCode& function);

} // namespace tessera::wml::script
