#include "deck/DeckPreview.h"

#include "deck/PreviewWindow.h"

#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QWidget>

namespace tessera {

DeckPreview::DeckPreview(QWidget& mainWindow, QPlainTextEdit& editor, DeckService& service,
                         QMenu& deckMenu)
    : QObject(&mainWindow), mainWindow(mainWindow), editor(editor), service(service) {
  deckMenu.addSeparator();
  action = deckMenu.addAction(QStringLiteral("&Preview"));
  action->setObjectName(QStringLiteral("PreviewDeck1"));
  action->setShortcut(QKeySequence(Qt::Key_F12));
  action->setCheckable(true);
  connect(action, &QAction::toggled, this, &DeckPreview::setShown);
}

void DeckPreview::setShown(bool shown) {
  if (!shown) {
    if (preview)
      preview->hide();
    return;
  }
  if (!preview) {
    preview = new PreviewWindow(editor, service, &mainWindow);
    connect(preview, &PreviewWindow::visibilityChanged, action, &QAction::setChecked);
    connect(preview, &PreviewWindow::caretPlaced, this, &DeckPreview::caretPlaced);
    // Beside the main window, on its right where the screen has room.
    preview->adjustSize();
    const QRect main = mainWindow.frameGeometry();
    QPoint place(main.right() + 8, main.top());
    if (const QScreen* screen = mainWindow.screen()) {
      const QRect room = screen->availableGeometry();
      if (place.x() + preview->width() > room.right())
        place.setX(std::max(room.left(), room.right() - preview->width()));
    }
    preview->move(place);
  }
  preview->show();
  preview->raise();
}

void DeckPreview::documentOpened() {
  if (preview)
    preview->documentOpened();
}

} // namespace tessera
