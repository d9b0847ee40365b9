#include "deck/DeckPreview.h"

#include "deck/PreviewWindow.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

namespace tessera {

DeckPreview::DeckPreview(QMainWindow& mainWindow, QPlainTextEdit& editor, DeckService& service,
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
    connect(preview, &PreviewWindow::visibilityChanged, action, [this](bool visible) {
      // Hidden behind another dock's tab it is still open.
      if (visible || preview->isHidden())
        action->setChecked(visible);
    });
    connect(preview, &PreviewWindow::caretPlaced, this, &DeckPreview::caretPlaced);
    // On the right of the editor; where the person then docks, floats and
    // sizes it stays for the rest of the run, as the dock is only hidden.
    mainWindow.addDockWidget(Qt::RightDockWidgetArea, preview);
  }
  preview->show();
  preview->raise();
}

void DeckPreview::documentOpened() {
  if (preview)
    preview->documentOpened();
}

} // namespace tessera
