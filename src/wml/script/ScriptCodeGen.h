#pragma once

#include "wml/script/ScriptCode.h"
#include "wml/script/ScriptSyntax.h"

namespace tessera::wml::script {

// Turns a checked unit (every name resolved, no errors) into instructions.
UnitCode generateCode(const CompilationUnit& unit);

} // namespace tessera::wml::script
