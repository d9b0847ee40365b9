#pragma once

#include "wml/Positions.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace tessera {

struct CommandLineMode;

// What a mode is handed: the parsed command line and the two streams.
struct ModeContext {
  const QCommandLineParser& parser;
  const CommandLineMode& mode;
  QTextStream& out;
  QTextStream& err;

  // The arguments that are not options (files, a call), in their order.
  QStringList operands() const { return parser.positionalArguments(); }
  // Prints "tessera: MESSAGE" and this mode's one line of usage on standard
  // error; returns the usage exit status.
  int usageError(const QString& message) const;
};

using ModeRunner = int (*)(const ModeContext& context);

// A mode of the program that runs without a window, chosen by its option:
// "tessera --check FILE...".
struct CommandLineMode {
  QString name;        // "check", given as --check
  QString operands;    // "FILE...", shown in the usage
  QString description; // for --help
  QStringList options; // the names of the other options it takes
  // Null for a mode that needs the libraries only the program module
  // loads (pictures, the HTTP server): ProgramModes.h runs those.
  ModeRunner run;
};

// Exit statuses shared by the modes.
inline constexpr int kExitClean = 0;
inline constexpr int kExitFindings = 1;
inline constexpr int kExitUsage = 2; // also: a file could not be read

// Handles the command line before any window system is touched: runs a mode,
// --version or --help and returns its exit status, or returns nothing when
// the program should start its window (no mode, perhaps a file to open).
// The modes whose `run` is null are found by `moduleModes` (nothing when it
// is null: the caller hands them to the program module).
std::optional<int> runCommandLine(int argc, char* argv[],
                                  ModeRunner (*moduleModes)(const QString& name));

// The same for arguments already split (without the program's name); needs
// a QCoreApplication.
int runWindowless(const QStringList& arguments, QTextStream& out, QTextStream& err,
                  ModeRunner (*moduleModes)(const QString& name));

// What the editor opens, read from the arguments the toolkit left once it
// took its own (-style, -platform, ...): the file (empty for a new deck), or
// nothing after a usage error has been printed on `err`.
std::optional<QString> editorFile(const QStringList& arguments, QTextStream& err);

// What the editor opens and where its caret goes: "tessera [--line N]
// [--column N] [FILE]", as other desktop editors take them (0: not given);
// nothing after a usage error has been printed on `err`.
struct StartupRequest {
  QString file;
  LineColumn place{};
};
std::optional<StartupRequest> startupRequest(const QStringList& arguments, QTextStream& err);

// The text --help prints.
QString helpText();

} // namespace tessera
