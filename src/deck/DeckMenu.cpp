#include "deck/DeckMenu.h"

namespace tessera {

DeckMenu::DeckMenu(QWidget* parent)
    : QMenu(QStringLiteral("Deck"), parent), checkDeck_(addAction(QStringLiteral("&Check Deck"))),
      liveCheck_(addAction(QStringLiteral("Check While &Typing"))) {
  setObjectName(QStringLiteral("DeckMenu"));
  checkDeck_->setObjectName(QStringLiteral("CheckDeck1"));
  checkDeck_->setShortcut(QKeySequence(Qt::Key_F8));
  liveCheck_->setObjectName(QStringLiteral("LiveCheck1"));
  liveCheck_->setCheckable(true);
  liveCheck_->setChecked(true);
}

} // namespace tessera
