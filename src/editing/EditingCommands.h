#pragma once

#include <QList>
#include <QObject>

class QAction;
class QWidget;

namespace tessera {

class EditCommands;
class EditorKeys;
class FindReplace;
class GotoLineDialog;
class Prompts;
class ShortcutRouter;
class SourceEditor;

// The main window's actions that run the editing commands. References, so
// the main window cannot leave one out.
struct EditingActions {
  QAction& undo;
  QAction& copy;
  QAction& paste;
  QAction& cut;
  QAction& deleteSelection;
  QAction& selectAll;
  QAction& upperCase;
  QAction& lowerCase;
  QAction& bold;
  QAction& italic;
  QAction& underline;
  QAction& find;
  QAction& replace;
  QAction& goToLine;
};

// The editing subsystem as the main window sees it: the Edit menu's
// commands, the case commands, the hidden Ctrl+B/I/U items, the editor's
// own keys, find/replace and Go to Line, each bound to the action handed
// in for it.
class EditingCommands : public QObject {
  Q_OBJECT
public:
  // `shortcutActions` are the main window's actions whose shortcuts come
  // before any control (see ShortcutRouter).
  EditingCommands(QWidget* mainWindow, const EditingActions& actions,
                  QList<QAction*> shortcutActions, SourceEditor& editor, Prompts& prompts);

  EditCommands& edits() const { return *edits_; }
  FindReplace& findReplace() const { return *findReplace_; }
  // Made when first needed, then kept.
  GotoLineDialog* gotoLineDialog();
  ShortcutRouter& shortcuts() const { return *router_; }

  // Go to Line: the modal window, then the chosen line selected.
  void goToLine();

private:
  template <typename Target> void bind(QAction& action, Target* target, void (Target::*run)());
  void wrapBold();
  void wrapItalic();
  void wrapUnderline();

  QWidget* mainWindow_;
  SourceEditor& editor_;
  Prompts& prompts_;
  EditCommands* edits_;
  EditorKeys* keys_;
  FindReplace* findReplace_;
  GotoLineDialog* gotoLine_ = nullptr;
  ShortcutRouter* router_;
};

} // namespace tessera
