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

EditingCommands::EditingCommands(QWidget* mainWindow, SourceEditor& editor, Prompts& prompts)
    : QObject(mainWindow), mainWindow_(mainWindow), editor_(editor), prompts_(prompts),
      edits_(new EditCommands(editor, this)), keys_(new EditorKeys(editor, this)),
      findReplace_(new FindReplace(editor, prompts, mainWindow, this)),
      router_(new ShortcutRouter(mainWindow, this)) {
  bind("Visszavons1", edits_, &EditCommands::undo);
  bind("Msols1", edits_, &EditCommands::copy);
  bind("Beilleszts1", edits_, &EditCommands::paste);
  bind("Kivgs1", edits_, &EditCommands::cut);
  bind("rls1", edits_, &EditCommands::deleteSelection);
  bind("Mindetkijell1", edits_, &EditCommands::selectAll);
  bind("UpperChase1", edits_, &EditCommands::upperCase);
  bind("Lowerchase1", edits_, &EditCommands::lowerCase);
  bind("CtrlB1", &EditingCommands::wrapBold);
  bind("CtrlI1", &EditingCommands::wrapItalic);
  bind("CtrlU1", &EditingCommands::wrapUnderline);
  bind("Find1", findReplace_, &FindReplace::openFind);
  bind("Csere1", findReplace_, &FindReplace::openReplace);
  bind("GotoLine1", &EditingCommands::goToLine);
}

template <typename Target>
void EditingCommands::bind(const char* actionName, Target* target, void (Target::*run)()) {
  auto* action = mainWindow_->findChild<QAction*>(QString::fromLatin1(actionName),
                                                  Qt::FindDirectChildrenOnly);
  Q_ASSERT_X(action, "EditingCommands", actionName);
  if (action)
    connect(action, &QAction::triggered, target, run);
}

void EditingCommands::bind(const char* actionName, void (EditingCommands::*run)()) {
  bind<EditingCommands>(actionName, this, run);
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
