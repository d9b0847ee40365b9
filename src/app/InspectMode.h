#pragma once

#include "app/CommandLine.h"

namespace tessera {

// "tessera --inspect FILE...": the child a site check runs to decode compiled
// decks, compiled scripts and pictures apart from the program that asked.
// One JSON line per file, in order, each written out before the next file is
// read. Exit status 2 when no file is named.
int runInspectMode(const ModeContext& context);

} // namespace tessera
