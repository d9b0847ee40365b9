#pragma once

#include "app/CommandLine.h"

namespace tessera {

// "tessera --serve DIR [--port N] [--bind ADDRESS]": serves the folder to
// phones without a window (on the loopback address unless told otherwise),
// one line per request on standard output, until interrupted (SIGINT or
// SIGTERM). Exit status: 0 after an interruption; 2 when the command line
// is wrong, the folder does not exist, or the port cannot be taken.
int runServeMode(const ModeContext& context);

} // namespace tessera
