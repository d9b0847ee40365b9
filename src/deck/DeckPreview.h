#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QPlainTextEdit;
class QWidget;

namespace tessera {

class DeckService;
class PreviewWindow;

// The Deck menu's "Preview" (F12): opens and closes the preview window,
// made on first need and kept, beside the main window.
class DeckPreview : public QObject {
  Q_OBJECT
public:
  DeckPreview(QWidget& mainWindow, QPlainTextEdit& editor, DeckService& service, QMenu& deckMenu);

  QAction* previewAction() const { return action; } // PreviewDeck1
  PreviewWindow* window() const { return preview; } // null until first shown
  // Another document: the preview starts afresh.
  void documentOpened();

signals:
  // The preview moved the editor's caret (Show Source).
  void caretPlaced();

private:
  void setShown(bool shown);

  QWidget& mainWindow;
  QPlainTextEdit& editor;
  DeckService& service;
  QAction* action;
  PreviewWindow* preview = nullptr;
};

} // namespace tessera
