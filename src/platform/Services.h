#pragma once

#include "platform/Desktop.h"
#include "platform/Prompts.h"

namespace tessera {

// The desktop seams handed to every window: real ones in the program,
// scripted and recording ones in tests.
struct Services {
  Prompts& prompts;
  Shell& shell;
  LockKeys& lockKeys;
};

} // namespace tessera
