#pragma once

#include <QStringList>
#include <QTextStream>

#include <optional>

namespace tessera {

// A mode of the program that runs without a window, chosen by its option as
// the first argument: "tessera --check FILE...".
struct CommandLineMode {
  QString option;      // "--check"
  QString operands;    // "FILE...", shown in the usage
  QString description; // one line for --help
  // Runs the mode on the arguments after the option; returns the exit status.
  int (*run)(const QStringList& operands, QTextStream& out, QTextStream& err);
};

// Every command-line mode, in the order --help lists them. A new mode is one
// more entry here (CommandLineModes.cpp) and a function of its own file.
const QList<CommandLineMode>& commandLineModes();

// Exit statuses shared by the modes.
inline constexpr int kExitClean = 0;
inline constexpr int kExitFindings = 1;
inline constexpr int kExitUsage = 2; // also: a file could not be read

// Handles the command line before any window system is touched: runs a mode,
// --version or --help and returns its exit status, or returns nothing when
// the program should start its window (no option, or a file to open).
std::optional<int> runCommandLine(int argc, char* argv[]);

// The usage text --help prints and a wrong command line shows on standard error.
QString usageText();

} // namespace tessera
