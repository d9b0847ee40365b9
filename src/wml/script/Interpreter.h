#pragma once

#include "wml/script/BytecodeVerifier.h"
#include "wml/script/ScriptHost.h"
#include "wml/script/Value.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <memory>
#include <random>
#include <vector>

namespace tessera::wml::script {

// The fatal errors a run can end in, numbered as the language numbers them.
enum class FatalError {
  VerificationFailed = 1,
  LibraryError = 2,
  InvalidFunctionArguments = 3,
  ExternalFunctionNotFound = 4,
  UnableToLoadUnit = 5,
  AccessViolation = 6,
  StackUnderflow = 7,
  ProgrammedAbort = 8,
  StackOverflow = 9,
  OutOfMemory = 10,
  UserInitiated = 11,
  SystemInitiated = 12,
};

// A short English name of a fatal error ("stack overflow").
QString fatalErrorName(FatalError error);

// What a run may spend. The instruction budget ends a script that never
// ends; the depth and stack limits a runaway recursion; the character
// budget counts every character a run's strings are built from, so a
// string-doubling loop ends long before it eats the memory.
struct RunLimits {
  qint64 instructionBudget = 10'000'000;
  int maxCallDepth = 100;
  int maxStackValues = 4096;
  qsizetype maxStringLength = 1 << 20;
  qint64 characterBudget = qint64(64) << 20;
};

struct DialogRequest {
  enum class Kind { Prompt, Confirm, Alert };
  Kind kind = Kind::Alert;
  QString message;
  QString defaultInput; // prompt
  QString okLabel;      // confirm; empty: the device's own word
  QString cancelLabel;
};

// The navigation a run leaves behind for the browser.
struct PendingNavigation {
  enum class Kind { None, Go, Prev };
  Kind kind = Kind::None;
  QString url; // as passed to WMLBrowser.go
};

// The WMLScript machine: runs one call of an extern function over verified
// bytecode. It is resumable: run() returns when the call ends, when a
// Dialogs function waits for the user (answer, then run() again), or after
// a slice of instructions, so a caller on the GUI thread never blocks and
// never needs a nested event loop.
class Interpreter {
public:
  enum class State { Ready, Running, WaitingForDialog, Finished, Failed };

  explicit Interpreter(ScriptHost& host, RunLimits limits = {});
  ~Interpreter();

  // Seeds Lang.random's generator (tests and `--run` make runs repeatable).
  void seedRandom(quint32 seed);

  // Prepares the call of `unit`'s extern function `name`; `unitUrl` is the
  // unit's absolute address (URL.getBase, relative calls), `referer` the
  // card that called it. False (state Failed) when `name` is no extern
  // function of the unit or the argument count differs.
  bool start(std::shared_ptr<const VerifiedUnit> unit, const QUrl& unitUrl, const QString& name,
             const QList<Value>& arguments, const QUrl& referer = {});

  // Runs until the call ends, a dialog waits, or `maxInstructions` more
  // instructions have run (0: no slice limit, only the budget).
  State run(qint64 maxInstructions = 0);

  State state() const { return state_; }
  const DialogRequest& dialog() const { return dialog_; }
  void answerPrompt(const QString& text);
  void answerConfirm(bool ok);
  void dismissAlert();
  // Ends a run from outside (the user closed the preview): a fatal error.
  void cancel();

  // After Finished: the value the function returned (or Lang.exit gave).
  const Value& result() const { return result_; }
  // After Failed.
  FatalError error() const { return error_; }
  const QString& errorMessage() const { return errorMessage_; }
  // The function the error happened in ("total" or "#3" for a local one).
  const QString& errorFunction() const { return errorFunction_; }

  // Navigation once the run is over; a fatal error cancels it.
  PendingNavigation navigation() const;
  bool refreshRequested() const { return refreshRequested_; }
  qint64 instructionsRun() const { return instructionsRun_; }

private:
  friend class LibraryCall;
  struct Frame;
  struct LoadedScript {
    std::shared_ptr<const VerifiedUnit> unit;
    QUrl url;
    QUrl referer;
  };

  void fail(FatalError error, const QString& message);
  bool enterFunction(int script, int function, int argumentCount);
  bool callLibrary(int library, int function, int argumentCount);
  bool callUrl(int urlConstant, int nameConstant, int argumentCount);
  void finish(const Value& value);
  void leaveFunction(const Value& value);
  bool chargeString(const Value& value);
  bool chargeCharacters(qsizetype length, qsizetype added);
  QString functionLabel(int script, int function) const;

  ScriptHost& host_;
  RunLimits limits_;
  State state_ = State::Ready;
  std::vector<LoadedScript> scripts_;
  std::vector<Frame> frames_;
  std::vector<Value> stack_;
  std::vector<Value> variables_;
  Value result_;
  FatalError error_ = FatalError::VerificationFailed;
  QString errorMessage_;
  QString errorFunction_;
  DialogRequest dialog_;
  PendingNavigation navigation_;
  bool newContextCalled_ = false;
  bool refreshRequested_ = false;
  qint64 instructionsRun_ = 0;
  qint64 charactersUsed_ = 0;
  std::mt19937 random_;
};

// Whether a unit's access pragma lets `referer` call it: the domain
// suffix-matched by whole labels, the path prefix-matched by whole
// segments (a relative path resolved against the unit's own address). No
// pragma: everyone may.
bool accessAllowed(const VerifiedUnit& unit, const QUrl& unitUrl, const QUrl& referer);
// The same rule over a pragma's values as written (the compiler's reading
// of a unit's source, for checks that do not run it).
bool accessAllowed(const std::optional<QString>& domain, const std::optional<QString>& path,
                   const QUrl& unitUrl, const QUrl& referer);

} // namespace tessera::wml::script
