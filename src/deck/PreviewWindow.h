#pragma once

#include "wml/DeckDocument.h"
#include "wml/PhoneScreens.h"

#include <QDialog>
#include <QThreadPool>
#include <QTimer>

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

class PreviewScreen;

// "Preview": a phone beside the main window running the deck being edited.
// It follows the editor: after a pause in typing the text is parsed again
// on a worker thread and the caret's card shown with the variables kept;
// moving the caret into another card shows that card.
class PreviewWindow : public QDialog {
  Q_OBJECT
public:
  PreviewWindow(QPlainTextEdit& editor, std::function<QString()> documentPath,
                QWidget* parent = nullptr);
  ~PreviewWindow() override;

  static constexpr int kPauseMs = 400;

  PreviewScreen* screen() const { return phone; }
  // The next refresh starts afresh (a new context): another document.
  void documentOpened();
  // Parses the editor's text now, on the worker thread.
  void refreshNow();
  bool busy() const { return running; }

signals:
  void visibilityChanged(bool visible);
  // A refresh reached the screen.
  void refreshed();

protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  void buildLayout();
  void edited();
  void finishRefresh(std::shared_ptr<DeckDocument> parsed, std::vector<CardStart> starts,
                     int parsedRevision);
  void caretMoved();
  void showSource();
  void updateSideViews();
  int caretLine() const;

  QPlainTextEdit& editor;
  std::function<QString()> documentPath;
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

  QTimer pause;
  QThreadPool worker;
  int revision = 0;
  bool running = false;
  bool pending = false;
  bool freshStart = true;
  std::vector<CardStart> cards;
  QString caretCard;
};

} // namespace tessera
