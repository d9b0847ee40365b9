#pragma once

#include "app/CommandLine.h"

#include <QCommandLineOption>
#include <QList>

namespace tessera {

// Every command-line mode, in the order --help lists them, and the options
// they take besides their own. A new mode is one more entry in
// CommandLineModes.cpp and a function of its own file (or, when it needs
// what only the program module loads, a null runner there and an entry in
// ProgramModes.cpp).
const QList<CommandLineMode>& commandLineModes();
const QList<QCommandLineOption>& modeOptions();

} // namespace tessera
