#pragma once

#include "wml/Finding.h"
#include "wml/script/ScriptSyntax.h"

namespace tessera::wml::script {

// The compile-time rules a parsed unit must keep (names declared before
// use and declared once, calls that match what they call, break and
// continue inside loops, literals in range, one access pragma, an extern
// function, the counts the bytecode format can hold). Resolves every name
// on the way: variables get their index, calls their function.
QList<Finding> checkUnit(CompilationUnit& unit);

} // namespace tessera::wml::script
