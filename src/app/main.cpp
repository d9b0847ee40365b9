#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "deck/CompiledDeckReader.h"
#include "platform/MemoryTuning.h"
#include "platform/QtPrompts.h"
#include "wml/script/ScriptCall.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  tessera::tuneMemoryAllocator();
  // A deck's call of a compiled unit is checked on the unit as read by a
  // child process, on the command line and in the editor alike.
  tessera::wml::script::setCompiledUnitReader(tessera::readCompiledUnit);
  // The command-line modes run before (and without) any window system.
  if (const std::optional<int> status = tessera::runCommandLine(argc, argv))
    return *status;

  QApplication app(argc, argv);
  tessera::prepareApplication();

  tessera::QtPrompts prompts;
  tessera::DesktopShell shell;
  tessera::SystemLockKeys lockKeys;
  tessera::MainWindow window(tessera::Services{prompts, shell, lockKeys});
  tessera::quitWhenClosed(window);

  const QStringList args = QApplication::arguments();
  if (args.size() > 1)
    window.loadStartupFile(args.at(1));

  window.show();
  return QApplication::exec();
}
