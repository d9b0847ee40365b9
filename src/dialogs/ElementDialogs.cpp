#include "dialogs/ElementDialogs.h"

#include "dialogs/DateTimeWindow.h"
#include "dialogs/EditorContextMenu.h"
#include "dialogs/ImageEditor.h"
#include "dialogs/LinkEditor.h"
#include "dialogs/ToolsWindow.h"
#include "editor/SourceEditor.h"

#include <QAction>
#include <QTimer>

namespace tessera {

ElementDialogs::ElementDialogs(QWidget* mainWindow, SourceEditor& editor, Prompts& prompts,
                               ActionLookup actions, ToolsWindowIcons icons)
    : QObject(mainWindow), actions_(std::move(actions)), icons_(std::move(icons)) {
  setObjectName(QStringLiteral("ElementDialogs"));
  toolsWindow_ = new ToolsWindow(editor, mainWindow);
  linkEditor_ = new LinkEditor(editor, mainWindow);
  imageEditor_ = new ImageEditor(editor, prompts, mainWindow);
  dateTimeWindow_ = new DateTimeWindow(editor, mainWindow);
  contextMenu_ = new EditorContextMenu(
      editor, actions_, [this] { showLinkEditor(); }, [this] { showImageEditor(); }, mainWindow);

  editor.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&editor, &QWidget::customContextMenuRequested, contextMenu_,
          &EditorContextMenu::popupAtEditor);

  connect(toolsWindow_, &ToolsWindow::visibilityChanged, this,
          &ElementDialogs::showToolsWindowIcon);
  if (QAction* a = actions_(QStringLiteral("Eszkzksegdablak2")))
    connect(a, &QAction::triggered, this, &ElementDialogs::toggleToolsWindow);
  if (QAction* a = actions_(QStringLiteral("segdablak1")))
    connect(a, &QAction::triggered, this, &ElementDialogs::toggleTransparency);
  if (QAction* a = actions_(QStringLiteral("Id1")))
    connect(a, &QAction::triggered, this, &ElementDialogs::showDateTime);
  showToolsWindowIcon(true); // the start-up timer shows it right away

  // The main window's start-up timer: it fires once, as soon as the event
  // loop runs, and shows the tools window beside the main window.
  startupTimer_ = new QTimer(mainWindow);
  startupTimer_->setObjectName(QStringLiteral("Timer2"));
  startupTimer_->setSingleShot(true);
  startupTimer_->setInterval(1);
  connect(startupTimer_, &QTimer::timeout, toolsWindow_, &ToolsWindow::present);
  startupTimer_->start();
}

void ElementDialogs::switchOnSnapping() {
  toolsWindow_->setSnapDistance(ToolsWindow::kSnapDistance);
}

void ElementDialogs::toggleToolsWindow() {
  const bool wasVisible = toolsWindow_->isVisible();
  if (wasVisible)
    toolsWindow_->hide();
  else
    toolsWindow_->present();
  showToolsWindowIcon(!wasVisible);
}

void ElementDialogs::toggleTransparency() {
  QAction* item = actions_(QStringLiteral("segdablak1"));
  // The item is checkable: its check mark has already flipped when this runs.
  const bool on = item ? item->isChecked() : toolsWindow_->opacity() == 255;
  toolsWindow_->setOpacity(on ? ToolsWindow::kStartOpacity : 255);
}

void ElementDialogs::showDateTime() { dateTimeWindow_->exec(); }
void ElementDialogs::showLinkEditor() { linkEditor_->exec(); }
void ElementDialogs::showImageEditor() { imageEditor_->exec(); }

void ElementDialogs::showToolsWindowIcon(bool shown) {
  const QIcon& icon = shown ? icons_.shown : icons_.hidden;
  for (const char* name : {"Eszkzksegdablak2", "ToolButton11"})
    if (QAction* a = actions_(QString::fromLatin1(name)))
      a->setIcon(icon);
}

} // namespace tessera
