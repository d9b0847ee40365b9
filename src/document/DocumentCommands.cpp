#include "document/DocumentCommands.h"

#include "document/DefaultDocument.h"
#include "document/DocumentFiles.h"
#include "editor/SourceEditor.h"
#include "platform/Desktop.h"
#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QScrollBar>

namespace tessera {

DocumentCommands::DocumentCommands(SourceEditor& editor, DocumentFiles& files, Prompts& prompts,
                                   Shell& shell, QWidget* dialogParent)
    : editor_(editor), files_(files), prompts_(prompts), shell_(shell), parent_(dialogParent),
      programPath_(QCoreApplication::applicationFilePath()) {}

QString DocumentCommands::cannotStartText(const QString& program) {
  return QStringLiteral("Cannot start \"%1\".").arg(QDir::toNativeSeparators(program));
}

bool DocumentCommands::settleUnsavedChanges() {
  if (!editor_.isModifiedFlag())
    return true;
  switch (files_.askSaveQuestion()) {
  case QMessageBox::Yes:
    // A cancelled dialog or a failed write stops the command with the
    // changes still marked unsaved.
    if (!files_.saveToChosenFile())
      return false;
    // The text is on disk now, whatever the rest of the command does.
    editor_.setModifiedFlag(false);
    return true;
  case QMessageBox::No: return true;
  default: return false;
  }
}

void DocumentCommands::newFile() {
  if (settleUnsavedChanges())
    resetDocument();
}

void DocumentCommands::resetDocument() {
  editor_.replaceWholeText(defaultDocument());
  if (toolsReset_)
    toolsReset_();
  editor_.setSelection(0, 0);
  editor_.ensureCursorVisible();
  editor_.verticalScrollBar()->setValue(0);
  editor_.focusEditor();
  files_.forgetEncoding();
  editor_.setModifiedFlag(false);
  editor_.refreshStatus();
}

void DocumentCommands::newWindow() {
  // An independent run with the default document; this one is untouched.
  if (!shell_.startProgram(programPath_, {}))
    prompts_.error(parent_, cannotStartText(programPath_));
}

void DocumentCommands::open() {
  if (!settleUnsavedChanges())
    return;
  const QString name = files_.chooseFileToOpen();
  if (name.isEmpty())
    return;
  if (!files_.loadFile(name))
    return; // text, flag and caret as they were
  editor_.setModifiedFlag(files_.lastLoadConverted());
  editor_.refreshStatus();
}

void DocumentCommands::save() {
  if (files_.saveToChosenFile())
    editor_.setModifiedFlag(false);
}

} // namespace tessera
