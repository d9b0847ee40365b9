#pragma once

#include <QObject>

class QAction;
class QMenu;
class QWidget;

namespace tessera {

class ServeWindow;
class TextDocument;

// The Deck menu's "Serve to Phone..." (`ServeSite1`, last, behind a
// separator): shows the serve window, made on first need and kept.
class DeckServe : public QObject {
  Q_OBJECT
public:
  DeckServe(QWidget& mainWindow, TextDocument& document, QMenu& deckMenu);

  QAction* serveAction() const { return action_; }
  ServeWindow* window() const { return window_; } // null until first shown

private:
  void showWindow();

  QWidget& mainWindow_;
  TextDocument& document_;
  QAction* action_;
  ServeWindow* window_ = nullptr;
};

} // namespace tessera
