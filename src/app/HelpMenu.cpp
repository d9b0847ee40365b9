#include "app/HelpMenu.h"

#include "app/MainWindow.h"
#include "info/AboutBox.h"
#include "info/WebLinks.h"

#include <QAction>

namespace tessera {

HelpMenu::HelpMenu(MainWindow& window) : QObject(&window), window_(window) {
  Shell& shell = window.services().shell;
  connect(window.action(MainAction::WebPage), &QAction::triggered, this,
          [&shell] { openProductWebSite(shell); });
  connect(window.action(MainAction::EMail), &QAction::triggered, this,
          [&shell] { openProductMail(shell); });
  // The toolbar's About button runs this same item.
  connect(window.action(MainAction::About), &QAction::triggered, this, &HelpMenu::showAboutBox);
}

void HelpMenu::showAboutBox() {
  if (!aboutBox_)
    aboutBox_ = new AboutBox(window_.services().shell, &window_);
  aboutBox_->exec();
}

} // namespace tessera
