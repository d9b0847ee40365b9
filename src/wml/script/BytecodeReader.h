#pragma once

#include "wml/script/BytecodeUnit.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tessera::wml::script {

// Reads the bytes of a `.wmlsc` into its pools and functions. Every count,
// size and type byte is checked against what is left, so hostile input ends
// in an error, never in a read past the end or an allocation it asks for;
// the checks that need the whole unit (indices, names, instructions) are the
// verifier's.
struct BytecodeReadResult {
  std::optional<BytecodeUnit> unit;
  QString error;        // empty when the unit was read
  qsizetype offset = 0; // where reading stopped on an error
};

BytecodeReadResult readBytecode(const QByteArray& bytes);

// Whether bytes begin as compiled WMLScript: a 1.x version byte and a code
// size that is exactly what follows it. How a `.wmlsc` is told by content
// (a compiled deck's header never gives its own remaining length).
bool hasCompiledScriptHeader(const QByteArray& bytes);

// The name of a character set by its IANA MIBenum (106 -> "UTF-8"), or an
// empty string for one this program cannot decode.
QString characterSetName(int mibEnum);

} // namespace tessera::wml::script
