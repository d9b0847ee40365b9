#pragma once

namespace tessera {

// Loads the program module (the editor, and the modes of ProgramModes.h)
// from beside the executable's folder (../lib/tessera, as built and as
// installed) and runs it with the arguments. The executable alone holds the
// language tools and only the libraries they need; the module brings the
// widgets, the pictures and the HTTP server. When the module cannot be
// loaded, says why on standard error and returns 2.
int runProgramModule(int argc, char* argv[]);

} // namespace tessera
