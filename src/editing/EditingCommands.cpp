#include "editing/EditingCommands.h"

#include "editing/EditCommands.h"
#include "editing/EditorKeys.h"
#include "editing/FindReplace.h"
#include "editing/GotoLineDialog.h"
#include "editing/LineSelection.h"
#include "editing/ShortcutRouter.h"
#include "editor/SourceEditor.h"
#include "tools/InlineBuilders.h"

#include <QAction>
#include <QWidget>

namespace tessera {

EditingCommands::EditingCommands(QWidget* mainWindow, const EditingActions& actions,
                                 QList<QAction*> shortcutActions, SourceEditor& editor,
                                 Prompts& prompts)
    : QObject(mainWindow), mainWindow_(mainWindow), editor_(editor), prompts_(prompts),
      edits_(new EditCommands(editor, this)), keys_(new EditorKeys(editor, this)),
      findReplace_(new FindReplace(editor, prompts, mainWindow, this)),
      router_(new ShortcutRouter(mainWindow, std::move(shortcutActions), this)) {
  bind(actions.undo, edits_, &EditCommands::undo);
  bind(actions.copy, edits_, &EditCommands::copy);
  bind(actions.paste, edits_, &EditCommands::paste);
  bind(actions.cut, edits_, &EditCommands::cut);
  bind(actions.deleteSelection, edits_, &EditCommands::deleteSelection);
  bind(actions.selectAll, edits_, &EditCommands::selectAll);
  bind(actions.upperCase, edits_, &EditCommands::upperCase);
  bind(actions.lowerCase, edits_, &EditCommands::lowerCase);
  bind(actions.bold, this, &EditingCommands::wrapBold);
  bind(actions.italic, this, &EditingCommands::wrapItalic);
  bind(actions.underline, this, &EditingCommands::wrapUnderline);
  bind(actions.find, findReplace_, &FindReplace::openFind);
  bind(actions.replace, findReplace_, &FindReplace::openReplace);
  bind(actions.goToLine, this, &EditingCommands::goToLine);
}

template <typename Target>
void EditingCommands::bind(QAction& action, Target* target, void (Target::*run)()) {
  connect(&action, &QAction::triggered, target, run);
}

GotoLineDialog* EditingCommands::gotoLineDialog() {
  if (!gotoLine_)
    gotoLine_ = new GotoLineDialog(prompts_, mainWindow_);
  return gotoLine_;
}

void EditingCommands::wrapBold() { editor_.apply(wrapTool(Wrap::Bold, editor_.selectedText())); }

void EditingCommands::wrapItalic() {
  editor_.apply(wrapTool(Wrap::Italic, editor_.selectedText()));
}

void EditingCommands::wrapUnderline() {
  editor_.apply(wrapTool(Wrap::Underline, editor_.selectedText()));
}

void EditingCommands::goToLine() {
  GotoLineDialog* dialog = gotoLineDialog();
  dialog->prepare(goToLineCount(editor_));
  if (dialog->exec() != QDialog::Accepted)
    return;
  selectEditorLine(editor_, dialog->chosenLine());
  editor_.focusEditor();
  mainWindow_->activateWindow();
}

} // namespace tessera
