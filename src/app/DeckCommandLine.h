#pragma once

#include "app/CommandLine.h"

namespace tessera {

// The command-line modes for compiled decks and phone pictures, which need
// no display:
//   --compile IN.wml -o OUT.wmlc [--no-string-table]   prints the size
//   --decompile IN.wmlc                                WML source on stdout
//   --wbmp IN.png -o OUT.wbmp [--dither threshold|ordered|diffusion]
//          [--threshold 0-255]                         prints the size
// Exit status: 0 done; 1 the input is not a well-formed deck, not a
// decodable compiled deck or not a picture; 2 a file cannot be read or
// written, or the command line is wrong (usage on standard error).
int runCompileMode(const ModeContext& context);
int runDecompileMode(const ModeContext& context);
int runWbmpMode(const ModeContext& context);

} // namespace tessera
