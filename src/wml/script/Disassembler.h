#pragma once

#include "wml/script/BytecodeUnit.h"

#include <QString>

namespace tessera::wml::script {

// A unit as text for people: the header, the constants with their types,
// the pragmas with the constants they name, and every function with its
// instructions, one a line ("  0004  CALL_LIB_S 0 2   ; String.length"),
// jump targets and library names written out.
QString disassemble(const BytecodeUnit& unit, qsizetype fileSize);

} // namespace tessera::wml::script
