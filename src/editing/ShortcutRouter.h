#pragma once

#include <QKeyCombination>
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QKeyEvent;
class QWidget;

namespace tessera {

// Menu shortcuts come before any control: a key that is the shortcut of a
// main-window action runs that action even where the focused field would
// take the key itself (Ctrl+C in a line edit, Ctrl+I in a text edit), in
// every window of the program that is not modal, while no modal window is
// open. Everything else reaches the controls as usual.
//
// Works as an application event filter on the shortcut-override step: the
// action runs there, and the key press that follows is swallowed.
class ShortcutRouter : public QObject {
  Q_OBJECT
public:
  // `actions` are the main window's menu and hidden items whose shortcuts
  // come first; `mainWindow` is always routed.
  ShortcutRouter(QWidget* mainWindow, QList<QAction*> actions, QObject* parent = nullptr);
  ~ShortcutRouter() override;

  // A further non-modal window whose controls obey the main menu's
  // shortcuts (the tools window, once it is made).
  void addWindow(QWidget* window);

  // The enabled main-window action whose shortcut is `keys`, or null.
  QAction* actionFor(QKeyCombination keys) const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool routes(QObject* receiver) const;
  static QKeyCombination combinationOf(const QKeyEvent* event);

  QPointer<QWidget> mainWindow_;
  QList<QPointer<QAction>> actions_;
  QList<QPointer<QWidget>> windows_;
  // The key whose press is still to come after its shortcut ran.
  QKeyCombination swallow_;
  bool swallowing_ = false;
};

} // namespace tessera
