#include "document/DocumentCommands.h"

#include "document/DefaultDocument.h"
#include "document/DocumentFiles.h"
#include "editor/EditorView.h"
#include "editor/TextDocument.h"
#include "platform/Desktop.h"
#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QDir>

namespace tessera {

DocumentCommands::DocumentCommands(TextDocument& document, EditorView& view, DocumentFiles& files,
                                   Prompts& prompts, Shell& shell, QWidget* dialogParent)
    : document_(document), view_(view), files_(files), prompts_(prompts), shell_(shell),
      parent_(dialogParent), programPath_(QCoreApplication::applicationFilePath()) {}

QString DocumentCommands::cannotStartText(const QString& program) {
  return QStringLiteral("Cannot start \"%1\".").arg(QDir::toNativeSeparators(program));
}

bool DocumentCommands::settleUnsavedChanges() {
  if (!document_.isModified())
    return true;
  switch (files_.askSaveQuestion()) {
  case QMessageBox::Yes:
    // A cancelled dialog or a failed write stops the command with the
    // changes still marked unsaved.
    if (!files_.saveToChosenFile())
      return false;
    // The text is on disk now, whatever the rest of the command does.
    document_.setModified(false);
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
  document_.replaceWholeText(defaultDocument());
  if (toolsReset_)
    toolsReset_();
  view_.showStart();
  view_.focusEditor();
  files_.forgetFile();
  document_.setModified(false);
  view_.refreshStatus();
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
  document_.setModified(files_.lastLoadConverted());
  view_.refreshStatus();
}

void DocumentCommands::reopenWithEncoding(const FileEncoding& encoding) {
  if (!settleUnsavedChanges())
    return;
  if (!files_.reloadAs(encoding))
    return; // text, flag and caret as they were
  document_.setModified(false);
  view_.refreshStatus();
}

void DocumentCommands::save() {
  if (files_.saveToChosenFile())
    document_.setModified(false);
}

} // namespace tessera
