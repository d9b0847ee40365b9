#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QPlainTextEdit;

namespace tessera {

class DeckService;
class PreviewWindow;

// The Deck menu's "Preview" (F12): opens and closes the preview, a dock on
// the main window's right made on first need and kept.
class DeckPreview : public QObject {
  Q_OBJECT
public:
  DeckPreview(QMainWindow& mainWindow, QPlainTextEdit& editor, DeckService& service,
              QMenu& deckMenu);

  QAction* previewAction() const { return action; } // PreviewDeck1
  PreviewWindow* window() const { return preview; } // null until first shown
  // Another document: the preview starts afresh.
  void documentOpened();

signals:
  // The preview moved the editor's caret (Show Source).
  void caretPlaced();

private:
  void setShown(bool shown);

  QMainWindow& mainWindow;
  QPlainTextEdit& editor;
  DeckService& service;
  QAction* action;
  PreviewWindow* preview = nullptr;
};

} // namespace tessera
