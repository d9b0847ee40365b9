#include "app/ProgramEntry.h"

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/ProgramModes.h"
#include "deck/CompiledDeckReader.h"
#include "platform/QtPrompts.h"
#include "wml/script/ScriptCall.h"

#include <QApplication>
#include <QTextStream>

extern "C" Q_DECL_EXPORT int tesseraProgramMain(int argc, char* argv[]) {
  // The module holds its own copy of the language library: its deck checker
  // reads compiled units as the executable's does.
  tessera::wml::script::setCompiledUnitReader(tessera::readCompiledUnit);
  if (const std::optional<int> status =
          tessera::runCommandLine(argc, argv, tessera::programModeRunner))
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
    window.loadStartupFileAt(request->file, request->place);

  window.show();
  return QApplication::exec();
}
