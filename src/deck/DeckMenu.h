#pragma once

#include <QMenu>

class QAction;

namespace tessera {

// The "Deck" menu between View and Help: checking first; the compiled-deck
// and preview items follow, each group after a separator.
class DeckMenu : public QMenu {
  Q_OBJECT
public:
  explicit DeckMenu(QWidget* parent = nullptr);

  QAction* checkDeckAction() const { return checkDeck_; } // CheckDeck1, F8
  QAction* liveCheckAction() const { return liveCheck_; } // LiveCheck1, checkable
  QAction* checkSiteAction() const { return checkSite_; } // CheckSite1, Ctrl+F8

private:
  QAction* checkDeck_;
  QAction* liveCheck_;
  QAction* checkSite_;
};

} // namespace tessera
