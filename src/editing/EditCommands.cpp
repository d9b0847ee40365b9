#include "editing/EditCommands.h"

#include "editing/TextSearch.h"
#include "editor/SourceEditor.h"

#include <QApplication>
#include <QClipboard>

namespace tessera {

EditCommands::EditCommands(SourceEditor& editor, QObject* parent)
    : QObject(parent), editor_(editor) {}

bool EditCommands::editorFocused() const { return editor_.hasFocus(); }

void EditCommands::undo() { editor_.undoStep(); }

void EditCommands::copy() {
  if (editorFocused() && editor_.selectionLength() > 0)
    editor_.copy();
}

void EditCommands::cut() {
  // The widget's own cut is recorded for undo, as the user's edit it is.
  if (editorFocused() && editor_.selectionLength() > 0)
    editor_.cut();
}

void EditCommands::paste() {
  if (!editorFocused())
    return;
  const QClipboard* clipboard = QApplication::clipboard();
  if (clipboard->text().isEmpty())
    return;
  editor_.paste();
  editor_.ensureCursorVisible();
}

void EditCommands::deleteSelection() {
  if (!editorFocused())
    editor_.focusEditor();
  // With nothing selected there is nothing to replace, and the user's undo
  // step must survive.
  if (editor_.selectionLength() > 0)
    editor_.insertAtCaret(QString());
}

void EditCommands::selectAll() {
  if (!editorFocused())
    editor_.focusEditor();
  editor_.selectAll();
}

void EditCommands::replaceSelectionConverted(QString (*convert)(QString)) {
  const QString selected = editor_.selectedText();
  if (selected.isEmpty())
    return;
  editor_.insertAtCaret(convert(selected));
}

void EditCommands::upperCase() { replaceSelectionConverted(&asciiUpper); }

void EditCommands::lowerCase() { replaceSelectionConverted(&asciiLower); }

} // namespace tessera
