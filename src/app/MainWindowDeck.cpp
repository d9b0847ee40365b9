#include "app/MainWindow.h"
#include "deck/DeckChecking.h"
#include "deck/DeckMenu.h"
#include "editor/SourceEditor.h"

#include <QMenuBar>

// The Deck menu (between View and Help) and checking the deck.
namespace tessera {

// Help is the last menu; Deck goes just before it.
void MainWindow::createDeckChecking() {
  deckMenu_ = new DeckMenu(this);
  menuBar()->insertMenu(menuBar()->actions().constLast(), deckMenu_);
  deckChecking_ =
      new DeckChecking(*this, *editor_, *deckMenu_, [this] { return files_.documentPath(); });
}

} // namespace tessera
