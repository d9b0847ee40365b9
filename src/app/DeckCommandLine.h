#pragma once

#include "app/CommandLine.h"

namespace tessera {

// The command-line modes for compiled decks:
//   --compile IN.wml -o OUT.wmlc [--no-string-table]   prints the size
//   --decompile IN.wmlc                                WML source on stdout
// Exit status: 0 done; 1 the input is not a well-formed deck or not a
// decodable compiled deck; 2 a file cannot be read or written, or the
// command line is wrong (usage on standard error).
int runCompileMode(const ModeContext& context);
int runDecompileMode(const ModeContext& context);

} // namespace tessera
