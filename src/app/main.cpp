#include "app/Icons.h"
#include "app/MainWindow.h"
#include "info/ProgramPicture.h"
#include "platform/QtPrompts.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("WML Tessera 1.0"));
  tessera::chooseIconTheme();
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(tessera::ProgramPicture::image())));

  tessera::QtPrompts prompts;
  tessera::DesktopShell shell;
  tessera::SystemLockKeys lockKeys;
  tessera::MainWindow window(tessera::Services{prompts, shell, lockKeys});

  const QStringList args = QApplication::arguments();
  if (args.size() > 1)
    window.loadStartupFile(args.at(1));

  window.show();
  return QApplication::exec();
}
