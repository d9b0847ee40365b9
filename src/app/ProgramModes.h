#pragma once

#include "app/CommandLine.h"

namespace tessera {

// The command-line modes that need what only the program module loads:
// --wbmp and --inspect read pictures with the toolkit's image readers,
// --serve runs the HTTP server. Null for any other name. The `tessera`
// executable itself runs the other modes without loading the module
// (ProgramModule.h), so that a build script's --check or --compile costs
// no more than the work.
ModeRunner programModeRunner(const QString& name);

} // namespace tessera
