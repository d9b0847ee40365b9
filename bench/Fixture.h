#pragma once

// The two sides of every comparison: the program's own main window (with
// scripted desktop services, so no dialog can block) and a bare toolkit
// editor of the same size and font.
#include "app/MainWindow.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "platform/Desktop.h"
#include "platform/ScriptedPrompts.h"

#include <QPlainTextEdit>

#include <chrono>
#include <memory>

namespace bench {

class AppWindow {
public:
  enum class Settle { Yes, No };
  // Shows the main window and waits until it is on screen; then, unless
  // told otherwise, lets the work queued at start-up finish.
  explicit AppWindow(Settle settleAfterShowing = Settle::Yes);
  tessera::MainWindow& window() { return *window_; }
  // When the main window was built, just before it was shown.
  std::chrono::steady_clock::time_point builtAt() const { return builtAt_; }
  tessera::SourceEditor& editor() { return *window_->editor(); }
  // Loads through the program's Open path; exits the bench if it fails.
  void load(const QString& path);
  // An empty document, so the next load is a real change.
  void clear();

private:
  tessera::ScriptedPrompts prompts_;
  tessera::RecordingShell shell_;
  tessera::FixedLockKeys lockKeys_;
  std::unique_ptr<tessera::MainWindow> window_;
  std::chrono::steady_clock::time_point builtAt_;
};

// A plain QPlainTextEdit as large as `like` and with its font and wrapping.
std::unique_ptr<QPlainTextEdit> bareEditorLike(const QPlainTextEdit& like);

// The best of `runs` opens of `path` through the program's Open path and
// of its bytes handed to the bare editor, each shown; both emptied between.
void loadAgainstBare(AppWindow& app, QPlainTextEdit& bare, const QString& path, int runs,
                     double* oursMs, double* referenceMs);

// Lets queued work (layout, idle slices, painting) finish.
void settle();

// The best of five runs of `insertions` insertions of `piece` on a fresh
// last line of the loaded document, with checking while typing off and on;
// between runs the checks typing started run to their end, so what is
// timed is the key press, not a check competing with it.
void typingWithAndWithoutLiveCheck(AppWindow& app, const QString& piece, int insertions,
                                   double* onMs, double* offMs);

} // namespace bench
