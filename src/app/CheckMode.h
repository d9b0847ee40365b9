#pragma once

#include "app/CommandLine.h"

namespace tessera {

// "tessera --check FILE...": checks each deck as the editor would and prints
// its findings the way compilers do, FILE as given. Exit status 2 when no
// file is named or one cannot be read, else 1 when a deck has an error, else
// 0 (warnings alone give 0).
int runCheckMode(const ModeContext& context);

} // namespace tessera
