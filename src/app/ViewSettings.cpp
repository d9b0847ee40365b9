#include "app/ViewSettings.h"

#include "app/MainWindow.h"
#include "deck/SyntaxColouring.h"
#include "editor/SourceEditor.h"
#include "info/BalloonHints.h"
#include "platform/Hint.h"
#include "tools/ToolsPanel.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTabBar>
#include <QWindow>

namespace tessera {

ViewSettings::ViewSettings(MainWindow& window) : QObject(&window), window_(window) {
  const auto on = [this](MainAction id, auto handler) {
    connect(window_.action(id), &QAction::triggered, this, handler);
  };
  on(MainAction::WordWrap, [this](bool checked) { setWordWrap(checked); });
  on(MainAction::FontSizeSmall, [this] { setFontSize(10); });
  on(MainAction::FontSizeNormal, [this] { setFontSize(12); });
  on(MainAction::MovableTabs, [this](bool checked) { tabsMovable_ = checked; });
  on(MainAction::HelpBubbles, [this](bool checked) { setHelpBubbles(checked); });
  on(MainAction::StayOnTop, [this](bool checked) { setStayOnTop(checked); });
  on(MainAction::SyntaxColouring,
     [this](bool checked) { window_.colouring()->setEnabled(checked); });
  on(MainAction::BackgroundColor, [this] { chooseBackgroundColor(); });
  on(MainAction::WindowSize640, [this] { setClientSize({640, 480}); });
  on(MainAction::WindowSize800, [this] { setClientSize({800, 600}); });
  on(MainAction::WindowSize1024, [this] { setClientSize({1024, 768}); });

  // Every run starts on a white editor, whatever the desktop's colours.
  SourceEditor* editor = window_.editor();
  QPalette palette = editor->palette();
  palette.setColor(QPalette::Base, Qt::white);
  editor->setPalette(palette);

  tabBar_ = window_.toolsPanel()->tabBar();
  tabBar_->installEventFilter(this);
}

void ViewSettings::setWordWrap(bool on) {
  SourceEditor* editor = window_.editor();
  window_.action(MainAction::WordWrap)->setChecked(on);
  editor->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  editor->setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  // What counts as a row has changed under the caret.
  editor->refreshStatus();
}

void ViewSettings::setFontSize(int points) {
  // Neither item toggles: choosing the checked one keeps it checked.
  window_.action(MainAction::FontSizeSmall)->setChecked(points == 10);
  window_.action(MainAction::FontSizeNormal)->setChecked(points == 12);
  SourceEditor* editor = window_.editor();
  QFont font = editor->font();
  font.setPointSize(points);
  editor->setFont(font);
  editor->refreshStatus();
}

void ViewSettings::setHelpBubbles(bool on) {
  QAction* item = window_.action(MainAction::HelpBubbles);
  item->setChecked(on);
  BalloonHints::setShowHint(&window_, on);
  // The hint says what choosing the item will do next.
  setHint(item,
          on ? QStringLiteral("Disabling help bubbles") : QStringLiteral("Enabling help bubbles"));
}

void ViewSettings::setStayOnTop(bool on) {
  window_.action(MainAction::StayOnTop)->setChecked(on);
  Qt::WindowFlags flags = window_.windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, on);
  if (QWindow* handle = window_.windowHandle()) {
    // Tell the existing window directly: changing a shown widget's flags
    // would hide and re-create it.
    window_.overrideWindowFlags(flags);
    handle->setFlags(flags);
  } else {
    window_.setWindowFlags(flags);
  }
}

void ViewSettings::chooseBackgroundColor() {
  SourceEditor* editor = window_.editor();
  const QColor current = editor->palette().color(QPalette::Base);
  Prompts& prompts = window_.services().prompts;
  const QColor chosen = prompts.chooseColor(&window_, current);
  if (!chosen.isValid() || chosen == current)
    return;
  if (prompts.confirm(&window_, QStringLiteral("Are you sure?"),
                      QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
    return;
  QPalette palette = editor->palette();
  palette.setColor(QPalette::Base, chosen); // the text keeps the system's colour
  editor->setPalette(palette);
}

void ViewSettings::setClientSize(QSize clientSize) {
  window_.setWindowState(window_.windowState() &
                         ~(Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
  const QMenuBar* menu = window_.menuBar();
  const int menuHeight =
      menu->isNativeMenuBar() || menu->isHidden() ? 0 : menu->heightForWidth(clientSize.width());
  window_.resize(clientSize.width(), clientSize.height() + std::max(0, menuHeight));
}

bool ViewSettings::eventFilter(QObject* watched, QEvent* event) {
  if (watched != tabBar_)
    return false;
  switch (event->type()) {
  case QEvent::MouseButtonPress: {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    pressed_ = true;
    dragging_ = false;
    pressPosition_ = mouse->position().toPoint();
    break;
  }
  case QEvent::MouseMove: {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (!pressed_ || mouse->buttons() == Qt::NoButton)
      break;
    const QPoint position = mouse->position().toPoint();
    if (!dragging_ &&
        (position - pressPosition_).manhattanLength() >= QApplication::startDragDistance())
      dragging_ = true;
    if (dragging_) {
      // A drop is taken only over the tools panel itself.
      const QWidget* panel = window_.toolsPanel();
      const bool overPanel = panel->rect().contains(tabBar_->mapTo(panel, position));
      tabBar_->setCursor(overPanel ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
    }
    break;
  }
  case QEvent::MouseButtonRelease: {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (dragging_ && mouse->buttons() == Qt::NoButton)
      dropTab(mouse->position().toPoint());
    if (mouse->buttons() == Qt::NoButton) {
      pressed_ = false;
      dragging_ = false;
      tabBar_->unsetCursor();
    }
    break;
  }
  default: break;
  }
  return false;
}

void ViewSettings::dropTab(QPoint tabBarPosition) {
  if (!tabsMovable_)
    return;
  const QWidget* panel = window_.toolsPanel();
  if (!panel->rect().contains(tabBar_->mapTo(panel, tabBarPosition)))
    return;
  const int target = tabBar_->tabAt(tabBarPosition);
  const int active = tabBar_->currentIndex();
  if (target < 0 || active < 0 || target == active)
    return;
  tabBar_->moveTab(active, target);
}

} // namespace tessera
