#pragma once

// The program module's one entry point: the editor and the command-line
// modes that need the window system's libraries. The `tessera` executable
// loads the module and calls it with its own arguments (ProgramModule.h).
extern "C" int tesseraProgramMain(int argc, char* argv[]);
