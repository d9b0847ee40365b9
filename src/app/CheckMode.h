#pragma once

#include "app/CommandLine.h"
#include "wml/Finding.h"

#include <optional>

namespace tessera {

// "tessera --check FILE... [--budget N]": checks each deck as the editor
// would and prints its findings the way compilers do, FILE as given. Exit
// status 2 when no file is named or one cannot be read, else 1 when a deck
// has an error, else 0 (warnings alone give 0).
int runCheckMode(const ModeContext& context);

// The checker's findings for the bytes of the deck file `name`, decoded as
// the editor opens them; with a budget (bytes, 0 for none) a compiled size
// over it is an error, as a build should fail on it.
QList<wml::Finding> checkDeckFile(const QString& name, const QByteArray& bytes, int budget);

// Prints "FILE:LINE:COLUMN: error: message [rule]", one finding a line.
void printFindings(QTextStream& stream, const QString& name, const QList<wml::Finding>& findings);

// The --budget the command line gives (0 when none), or nothing after
// saying what is wrong with it.
std::optional<int> budgetOption(const ModeContext& context, int* status);

} // namespace tessera
