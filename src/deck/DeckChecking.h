#pragma once

#include "wml/Finding.h"

#include <QObject>

#include <functional>

class QMainWindow;

namespace tessera {

class DeckCheckRunner;
class DeckMenu;
class ProblemsDock;
class SourceEditor;

// Checking the deck in the main window: "Check Deck" shows the problems dock
// and checks at once; while "Check While Typing" is on, the deck is checked
// after each pause in typing and once after a document is opened, off the
// main thread. The list follows every run while the dock is open; the dock
// never opens by itself.
class DeckChecking : public QObject {
  Q_OBJECT
public:
  // `documentPath` names the saved file (empty when never saved), for
  // relative links.
  DeckChecking(QMainWindow& window, SourceEditor& editor, DeckMenu& menu,
               std::function<QString()> documentPath);

  ProblemsDock* dock() const { return dock_; }
  DeckCheckRunner* runner() const { return runner_; }
  const QList<wml::Finding>& lastFindings() const { return last_; }

  // A document was opened (or replaced): check it once, if checking while
  // typing is on.
  void documentOpened();
  // Puts the caret at a 1-based line and character column and focuses the editor.
  void goTo(int line, int column);

signals:
  // Every finished run, for the list and the error marks.
  void findingsChanged(const QList<tessera::wml::Finding>& findings, int revision);

private:
  void checkDeck();
  void showFindings(const QList<wml::Finding>& findings, int revision);

  SourceEditor& editor_;
  DeckMenu& menu_;
  ProblemsDock* dock_;
  DeckCheckRunner* runner_;
  QList<wml::Finding> last_;
  int revision_ = 0; // counts edits, so a result can be told stale
};

} // namespace tessera
