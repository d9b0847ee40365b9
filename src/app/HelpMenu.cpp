#include "app/HelpMenu.h"

#include "app/MainWindow.h"
#include "info/AboutBox.h"
#include "info/WebLinks.h"

#include <QAction>

namespace tessera {

HelpMenu::HelpMenu(MainWindow& window)
    : QObject(&window), aboutBox_(new AboutBox(window.services().shell, &window)) {
  Shell& shell = window.services().shell;
  connect(window.action(QStringLiteral("Weboldal1")), &QAction::triggered, this,
          [&shell] { openProductWebSite(shell); });
  connect(window.action(QStringLiteral("EMail1")), &QAction::triggered, this,
          [&shell] { openProductMail(shell); });
  // The toolbar's About button runs this same item.
  connect(window.action(QStringLiteral("Info1")), &QAction::triggered, aboutBox_,
          [this] { aboutBox_->exec(); });
}

} // namespace tessera
