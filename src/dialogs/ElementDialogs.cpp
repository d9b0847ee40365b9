#include "dialogs/ElementDialogs.h"

#include "dialogs/DateTimeWindow.h"
#include "dialogs/EditorContextMenu.h"
#include "dialogs/ImageEditor.h"
#include "dialogs/LinkEditor.h"
#include "dialogs/ToolsWindow.h"
#include "editor/SourceEditor.h"

#include <QAction>
#include <QKeyEvent>
#include <QTimer>

namespace tessera {

ElementDialogs::ElementDialogs(QWidget* mainWindow, SourceEditor& editor, Prompts& prompts,
                               const Actions& actions, ToolsWindowIcons icons)
    : QObject(mainWindow), mainWindow_(mainWindow), editor_(editor), prompts_(prompts),
      actions_(actions), icons_(std::move(icons)) {
  setObjectName(QStringLiteral("ElementDialogs"));
  editor.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&editor, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { contextMenu()->popupAtEditor(at); });
  // Until the context menu exists, Shift+F10 is caught here (the menu
  // listens for it itself once it is made).
  editor.installEventFilter(this);
  connect(&actions_.toolsWindow, &QAction::triggered, this, &ElementDialogs::toggleToolsWindow);
  connect(&actions_.transparency, &QAction::triggered, this, &ElementDialogs::toggleTransparency);
  connect(&actions_.dateTime, &QAction::triggered, this, &ElementDialogs::showDateTime);
  showToolsWindowIcon(true); // the start-up timer shows it right away

  // The main window's start-up timer: it fires once and shows the tools
  // window beside the main window (making it). It runs from the main
  // window's first painting, so the tools window comes right after the main
  // window is on screen, never before it nor in the way of drawing it.
  startupTimer_ = new QTimer(mainWindow);
  startupTimer_->setObjectName(QStringLiteral("Timer2"));
  startupTimer_->setSingleShot(true);
  startupTimer_->setInterval(1);
  connect(startupTimer_, &QTimer::timeout, this, [this] { toolsWindow()->present(); });
  mainWindow->installEventFilter(this);
}

ToolsWindow* ElementDialogs::toolsWindow() {
  if (!toolsWindow_) {
    toolsWindow_ = new ToolsWindow(editor_, mainWindow_);
    if (snapping_)
      toolsWindow_->setSnapDistance(ToolsWindow::kSnapDistance);
    connect(toolsWindow_, &ToolsWindow::visibilityChanged, this,
            &ElementDialogs::showToolsWindowIcon);
    emit toolsWindowMade(toolsWindow_);
  }
  return toolsWindow_;
}

LinkEditor* ElementDialogs::linkEditor() {
  if (!linkEditor_)
    linkEditor_ = new LinkEditor(editor_, mainWindow_);
  return linkEditor_;
}

ImageEditor* ElementDialogs::imageEditor() {
  if (!imageEditor_)
    imageEditor_ = new ImageEditor(editor_, prompts_, mainWindow_);
  return imageEditor_;
}

DateTimeWindow* ElementDialogs::dateTimeWindow() {
  if (!dateTimeWindow_)
    dateTimeWindow_ = new DateTimeWindow(editor_, mainWindow_);
  return dateTimeWindow_;
}

EditorContextMenu* ElementDialogs::contextMenu() {
  if (!contextMenu_) {
    contextMenu_ = new EditorContextMenu(
        editor_, actions_.edit, [this] { showLinkEditor(); }, [this] { showImageEditor(); },
        mainWindow_);
    // The menu catches Shift+F10 itself from now on; keystrokes need no stop here.
    editor_.removeEventFilter(this);
  }
  return contextMenu_;
}

bool ElementDialogs::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mainWindow_ && event->type() == QEvent::Paint) {
    mainWindow_->removeEventFilter(this);
    startupTimer_->start();
  }
  if (watched == &editor_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
      contextMenu()->popupAtEditor(editor_.cursorRect().bottomLeft());
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void ElementDialogs::switchOnSnapping() {
  snapping_ = true;
  if (toolsWindow_)
    toolsWindow_->setSnapDistance(ToolsWindow::kSnapDistance);
}

void ElementDialogs::toggleToolsWindow() {
  const bool wasVisible = toolsWindow_ && toolsWindow_->isVisible();
  if (wasVisible)
    toolsWindow_->hide();
  else
    toolsWindow()->present();
  showToolsWindowIcon(!wasVisible);
}

void ElementDialogs::toggleTransparency() {
  // The item is checkable: its check mark has already flipped when this runs.
  const bool on = actions_.transparency.isChecked();
  toolsWindow()->setOpacity(on ? ToolsWindow::kStartOpacity : 255);
}

void ElementDialogs::showDateTime() { dateTimeWindow()->exec(); }
void ElementDialogs::showLinkEditor() { linkEditor()->exec(); }
void ElementDialogs::showImageEditor() { imageEditor()->exec(); }

void ElementDialogs::showToolsWindowIcon(bool shown) {
  const QIcon& icon = shown ? icons_.shown : icons_.hidden;
  actions_.toolsWindow.setIcon(icon);
  actions_.toolsWindowButton.setIcon(icon);
}

} // namespace tessera
