#pragma once

#include "app/CommandLine.h"

namespace tessera {

// --wbmp IN.png -o OUT.wbmp [--dither threshold|ordered|diffusion]
//        [--threshold 0-255]: converts a picture to a one-bit WBMP and
// prints its size. Exit status: 0 done; 1 the input is not a picture; 2 a
// file cannot be read or written, or the command line is wrong. It reads
// pictures with the toolkit's image readers, so it runs in the program
// module (ProgramModes.h).
int runWbmpMode(const ModeContext& context);

} // namespace tessera
