#pragma once

#include "wml/agent/DeckDocument.h"
#include "wml/agent/PhoneScreens.h"

#include <QDockWidget>

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace tessera {

class DeckService;
class PreviewScreen;
struct ParsedRevision;

// "Preview": a phone beside the editor running the deck being edited, a dock
// on the main window's right (it can be floated as a window and docked
// back), so it never covers the text. It follows the editor: each revision
// the deck service parses (after a pause in typing) is shown at the caret's
// card with the variables kept; moving the caret into another card shows
// that card. Shown and hidden, it says so by QDockWidget::visibilityChanged.
class PreviewWindow : public QDockWidget {
  Q_OBJECT
public:
  PreviewWindow(QPlainTextEdit& editor, DeckService& service, QWidget* parent = nullptr);
  ~PreviewWindow() override;

  PreviewScreen* screen() const { return phone; }
  // The next refresh starts afresh (a new context): another document.
  void documentOpened();
  // Shows the document's revision now, asking the deck service to parse it
  // unless it already has.
  void refreshNow();
  bool busy() const;

signals:
  // A refresh reached the screen.
  void refreshed();
  // Show Source put the editor's caret on the shown card's start tag; the
  // status line must say where it now is.
  void caretPlaced();

protected:
  void showEvent(QShowEvent* event) override;

private:
  void buildLayout();
  void showRevision(const std::shared_ptr<const ParsedRevision>& parsed);
  void caretMoved();
  void showSource();
  void updateSideViews();
  int caretLine() const;

  QPlainTextEdit& editor;
  DeckService& service;
  PreviewScreen* phone = nullptr;
  QComboBox* profileBox = nullptr;
  QPushButton* softKey1 = nullptr;
  QPushButton* softKey2 = nullptr;
  QPushButton* backButton = nullptr;
  QPushButton* sourceButton = nullptr;
  QCheckBox* followCaret = nullptr;
  QTableWidget* variablesTable = nullptr;
  QListWidget* historyList = nullptr;
  QListWidget* infoList = nullptr;

  bool freshStart = true;
  std::vector<wml::agent::CardStart> cards;
  QString caretCard;
};

} // namespace tessera
