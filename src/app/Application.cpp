#include "app/Application.h"

#include "app/Icons.h"
#include "app/MainWindow.h"
#include "info/ProgramPicture.h"
#include "platform/DrawnArrowsStyle.h"
#include "platform/Product.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

namespace tessera {

void prepareApplication() {
  QApplication::setApplicationName(kProgramTitle);
  // The style chosen by the desktop or by -style, with its extension
  // arrows drawn rather than read (see DrawnArrowsStyle).
  QApplication::setStyle(new DrawnArrowsStyle(QApplication::style()->name()));
  chooseIconTheme();
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(ProgramPicture::image())));
}

void quitWhenClosed(MainWindow& window) {
  QObject::connect(&window, &MainWindow::closed, qApp, &QCoreApplication::quit,
                   Qt::QueuedConnection);
}

} // namespace tessera
