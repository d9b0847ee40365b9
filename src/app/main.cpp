#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "deck/CompiledDeckReader.h"
#include "platform/MemoryTuning.h"
#include "platform/QtPrompts.h"
#include "wml/script/ScriptCall.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
  tessera::tuneMemoryAllocator();
  // A deck's call of a compiled unit is checked on the unit as read by a
  // child process, on the command line and in the editor alike.
  tessera::wml::script::setCompiledUnitReader(tessera::readCompiledUnit);
  // The command-line modes run before (and without) any window system.
  if (const std::optional<int> status = tessera::runCommandLine(argc, argv))
    return *status;

  // The toolkit takes its own options (-style, -platform, ...) here; what
  // is left is ours.
  QApplication app(argc, argv);
  QTextStream err(stderr);
  const auto request = tessera::startupRequest(QApplication::arguments(), err);
  if (!request)
    return tessera::kExitUsage;
  tessera::prepareApplication();

  tessera::QtPrompts prompts;
  tessera::DesktopShell shell;
  tessera::SystemLockKeys lockKeys;
  tessera::MainWindow window(tessera::Services{prompts, shell, lockKeys});
  tessera::quitWhenClosed(window);

  if (!request->file.isEmpty())
    window.loadStartupFileAt(request->file, request->line, request->column);

  window.show();
  return QApplication::exec();
}
