#include "editing/ShortcutRouter.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace tessera {

ShortcutRouter::ShortcutRouter(QWidget* mainWindow, QList<QAction*> actions, QObject* parent)
    : QObject(parent), mainWindow_(mainWindow) {
  for (QAction* action : actions)
    actions_.append(action);
  qApp->installEventFilter(this);
}

ShortcutRouter::~ShortcutRouter() {
  if (qApp)
    qApp->removeEventFilter(this);
}

void ShortcutRouter::addWindow(QWidget* window) { windows_.append(window); }

QKeyCombination ShortcutRouter::combinationOf(const QKeyEvent* event) {
  const Qt::KeyboardModifiers held = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                                           Qt::AltModifier | Qt::MetaModifier);
  return QKeyCombination(held, Qt::Key(event->key()));
}

QAction* ShortcutRouter::actionFor(QKeyCombination keys) const {
  if (!mainWindow_)
    return nullptr;
  const QKeySequence sequence(keys);
  for (const QPointer<QAction>& action : actions_) {
    if (!action || !action->isEnabled())
      continue;
    const auto shortcuts = action->shortcuts();
    for (const QKeySequence& shortcut : shortcuts)
      if (shortcut == sequence)
        return action;
  }
  return nullptr;
}

bool ShortcutRouter::routes(QObject* receiver) const {
  auto* widget = qobject_cast<QWidget*>(receiver);
  if (!widget || !mainWindow_ || QApplication::activeModalWidget())
    return false;
  QWidget* window = widget->window();
  if (window == mainWindow_)
    return true;
  for (const QPointer<QWidget>& w : windows_)
    if (w == window)
      return true;
  return false;
}

bool ShortcutRouter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
  case QEvent::ShortcutOverride: {
    auto* key = static_cast<QKeyEvent*>(event);
    swallowing_ = false;
    if (!routes(watched))
      return false;
    QAction* action = actionFor(combinationOf(key));
    if (!action)
      return false;
    // Accepting the override keeps the shortcut machinery from running
    // the action a second time; the press it then delivers is dropped.
    // (Set after the action: a window it runs modally sees keys of its own.)
    key->accept();
    action->trigger();
    swallow_ = combinationOf(key);
    swallowing_ = true;
    return true;
  }
  case QEvent::KeyPress: {
    if (!swallowing_)
      return false;
    auto* key = static_cast<QKeyEvent*>(event);
    swallowing_ = false;
    return combinationOf(key) == swallow_;
  }
  default: return false;
  }
}

} // namespace tessera
