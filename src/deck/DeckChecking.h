#pragma once

#include "wml/Finding.h"

#include <QObject>

#include <memory>

class QMainWindow;

namespace tessera {

class DeckMenu;
class DeckService;
class EditorView;
class ProblemsDock;
struct ParsedRevision;

// Checking the deck in the main window: "Check Deck" shows the problems dock
// and checks at once; while "Check While Typing" is on, the deck service
// checks each revision it parses (after a pause in typing, after an open).
// The list follows every checked revision while the dock is open; the dock
// never opens by itself.
class DeckChecking : public QObject {
  Q_OBJECT
public:
  DeckChecking(QMainWindow& window, EditorView& view, DeckService& service, DeckMenu& menu);

  ProblemsDock* dock() const { return dock_; }
  DeckService& service() const { return service_; }
  const QList<wml::Finding>& lastFindings() const { return last_; }

  // A document was opened (or replaced): parse it at once, and check it if
  // checking while typing is on.
  void documentOpened();
  // Puts the caret at a 1-based line and character column, shows it in the
  // status line and focuses the editor.
  void goTo(LineColumn place);

signals:
  // Every checked revision, for the list and the error marks.
  void findingsChanged(const QList<tessera::wml::Finding>& findings, quint64 revision);

private:
  void checkDeck();
  void showFindings(const std::shared_ptr<const ParsedRevision>& parsed);

  EditorView& view_;
  DeckService& service_;
  DeckMenu& menu_;
  ProblemsDock* dock_;
  QList<wml::Finding> last_;
};

} // namespace tessera
