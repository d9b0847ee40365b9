#pragma once

#include "app/CommandLine.h"
#include "wml/Finding.h"

#include <optional>

namespace tessera {

// "tessera --check PATH... [--budget N] [--profile NAME] [--entry FILE]
// [--format text|sarif]": checks each deck as the editor would, and each
// folder as one site (every deck, script and picture under it and the rules
// between them), and prints the findings the way compilers do, a file found
// in a folder named as the folder given joined with its path inside it,
// sorted by path, then line and column; with "--format sarif", a SARIF log
// instead. A folder's check ends with a summary on standard error. Exit
// status 2 when the command line is wrong or a path cannot be read, else 1
// when any finding is an error, else 0 (warnings and notes alone give 0).
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
