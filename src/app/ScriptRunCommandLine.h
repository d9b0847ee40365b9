#pragma once

#include "app/CommandLine.h"

namespace tessera {

// The command-line modes for WMLScript units:
//   --disassemble IN.wmlsc     constants, pragmas and functions on stdout
//   --run UNIT 'f(ARGS)' [--var NAME=VALUE]... [--answer TEXT]...
//                              runs an extern function and prints its
//                              dialogs, `ret` (or `abort`), the variables
//                              and the pending navigation, one a line
// Exit status: 0 done (whatever the function returned); 1 not bytecode, a
// unit that does not compile or verify, no such extern function, or a
// fatal error in the run (its message on standard error); 2 a file cannot
// be read or the command line is wrong.
int runDisassembleMode(const ModeContext& context);
int runScriptMode(const ModeContext& context);

} // namespace tessera
