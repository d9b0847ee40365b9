#include "app/CommandLine.h"
#include "app/ProgramModule.h"
#include "deck/CompiledDeckReader.h"
#include "platform/MemoryTuning.h"
#include "wml/script/ScriptCall.h"

int main(int argc, char* argv[]) {
  tessera::tuneMemoryAllocator();
  // A deck's call of a compiled unit is checked on the unit as read by a
  // child process, on the command line and in the editor alike.
  tessera::wml::script::setCompiledUnitReader(tessera::readCompiledUnit);
  // The language tools run here, before and without any window system or
  // its libraries; the editor and the picture and serving modes are the
  // program module's.
  if (const std::optional<int> status = tessera::runCommandLine(argc, argv, nullptr))
    return *status;
  return tessera::runProgramModule(argc, argv);
}
