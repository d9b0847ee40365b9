#pragma once

#include <QObject>

class QWidget;

namespace tessera {

class EditCommands;
class EditorKeys;
class FindReplace;
class GotoLineDialog;
class Prompts;
class ShortcutRouter;
class SourceEditor;

// The editing subsystem as the main window sees it: the Edit menu's
// commands, the case commands, the hidden Ctrl+B/I/U items, the editor's
// own keys, find/replace and Go to Line, each bound to the main window's
// action of the same layout name.
class EditingCommands : public QObject {
  Q_OBJECT
public:
  EditingCommands(QWidget* mainWindow, SourceEditor& editor, Prompts& prompts);

  EditCommands& edits() const { return *edits_; }
  FindReplace& findReplace() const { return *findReplace_; }
  // Made when first needed, then kept.
  GotoLineDialog* gotoLineDialog();
  ShortcutRouter& shortcuts() const { return *router_; }

  // Go to Line: the modal window, then the chosen line selected.
  void goToLine();

private:
  void bind(const char* actionName, void (EditingCommands::*run)());
  template <typename Target> void bind(const char* actionName, Target* target,
                                       void (Target::*run)());
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
