#include "app/Application.h"

#include "app/Icons.h"
#include "app/MainWindow.h"
#include "info/ProgramPicture.h"
#include "platform/Product.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

namespace tessera {

void prepareApplication() {
  QApplication::setApplicationName(kProgramTitle);
  chooseIconTheme();
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(ProgramPicture::image())));
}

void quitWhenClosed(MainWindow& window) {
  QObject::connect(&window, &MainWindow::closed, qApp, &QCoreApplication::quit,
                   Qt::QueuedConnection);
}

} // namespace tessera
