#include "deck/DeckMenu.h"

namespace tessera {

DeckMenu::DeckMenu(QWidget* parent)
    : QMenu(QStringLiteral("Deck"), parent), checkDeck_(addAction(QStringLiteral("&Check Deck"))),
      liveCheck_(addAction(QStringLiteral("Check While &Typing"))),
      checkSite_(addAction(QStringLiteral("Check &Site..."))) {
  setObjectName(QStringLiteral("DeckMenu"));
  checkDeck_->setObjectName(QStringLiteral("CheckDeck1"));
  checkDeck_->setShortcut(QKeySequence(Qt::Key_F8));
  liveCheck_->setObjectName(QStringLiteral("LiveCheck1"));
  liveCheck_->setCheckable(true);
  liveCheck_->setChecked(true);
  checkSite_->setObjectName(QStringLiteral("CheckSite1"));
  checkSite_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F8));
}

} // namespace tessera
