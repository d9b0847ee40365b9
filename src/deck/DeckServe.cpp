#include "deck/DeckServe.h"

#include "deck/ServeWindow.h"

#include <QAction>
#include <QMenu>

namespace tessera {

DeckServe::DeckServe(QWidget& mainWindow, TextDocument& document, QMenu& deckMenu)
    : QObject(&mainWindow), mainWindow_(mainWindow), document_(document) {
  deckMenu.addSeparator();
  action_ = deckMenu.addAction(QStringLiteral("Ser&ve to Phone..."));
  action_->setObjectName(QStringLiteral("ServeSite1"));
  connect(action_, &QAction::triggered, this, &DeckServe::showWindow);
}

void DeckServe::showWindow() {
  if (window_ == nullptr)
    window_ = new ServeWindow(document_, &mainWindow_);
  window_->show();
  window_->raise();
  window_->activateWindow();
}

} // namespace tessera
