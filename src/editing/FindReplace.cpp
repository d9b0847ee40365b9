#include "editing/FindReplace.h"

#include "editing/FindDialog.h"
#include "editing/ReplaceDialog.h"
#include "editing/TextSearch.h"
#include "editor/SourceEditor.h"
#include "platform/Prompts.h"

#include <QTextDocument>

namespace tessera {

FindReplace::FindReplace(SourceEditor& editor, Prompts& prompts, QWidget* dialogParent,
                         QObject* parent)
    : QObject(parent), editor_(editor), prompts_(prompts),
      findDialog_(new FindDialog(dialogParent)), replaceDialog_(new ReplaceDialog(dialogParent)) {
  connect(editor_.document(), &QTextDocument::contentsChange, this, [this] {
    textCurrent_ = false;
    text_.clear();
  });
  connect(findDialog_, &FindDialog::findNext, this, &FindReplace::findNext);
  connect(replaceDialog_, &ReplaceDialog::findNext, this, &FindReplace::findNext);
  connect(replaceDialog_, &ReplaceDialog::replace, this, &FindReplace::replace);
  connect(replaceDialog_, &ReplaceDialog::replaceAll, this, &FindReplace::replaceAll);
  // Leaving the replace box (Cancel or its close box) returns to the text.
  connect(replaceDialog_, &QDialog::finished, this, [this] { editor_.focusEditor(); });
}

const QString& FindReplace::text() {
  if (!textCurrent_) {
    text_ = editor_.wholeText();
    textCurrent_ = true;
  }
  return text_;
}

void FindReplace::openFind() {
  findStart_ = 0;
  findDialog_->showBox();
}

void FindReplace::openReplace() {
  // Its Find Next starts from the top as well.
  findStart_ = 0;
  replaceDialog_->showBox();
}

void FindReplace::keepSelectionVisible() {
  // A found text stays highlighted while the box has the focus.
  QPalette palette = editor_.palette();
  for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
    palette.setBrush(QPalette::Inactive, role, palette.brush(QPalette::Active, role));
  editor_.setPalette(palette);
}

bool FindReplace::findNext(const QString& needle) {
  keepSelectionVisible();
  if (needle.isEmpty() || findStart_ > editor_.textLength() - 1)
    return false;
  const int hit = findForward(text(), needle, findStart_);
  if (hit < 0)
    return false;
  editor_.setSelection(hit, int(needle.size()));
  editor_.ensureCursorVisible();
  editor_.refreshStatus();
  findStart_ = hit + 1;
  return true;
}

void FindReplace::reportNotFound(const QString& needle) {
  prompts_.error(replaceDialog_, QLatin1Char('"') + needle + QStringLiteral("\" not found."));
}

bool FindReplace::replace(const QString& needle, const QString& replacement) {
  if (needle.isEmpty())
    return false;
  const int hit = findForReplace(text(), needle, editor_.caretPosition());
  if (hit < 0) {
    reportNotFound(needle);
    return false;
  }
  editor_.setSelection(hit, int(needle.size()));
  editor_.insertAtCaret(replacement);
  return true;
}

bool FindReplace::replaceAll(const QString& needle, const QString& replacement) {
  if (needle.isEmpty())
    return false;
  const ReplaceAllEdit edit = replaceAllEdit(text(), needle, replacement);
  if (edit.count == 0) {
    reportNotFound(needle);
    return false;
  }
  // Only the stretch between the first and the last occurrence changes.
  editor_.setSelection(edit.start, edit.length);
  editor_.insertAtCaret(edit.replacement);
  return true;
}

} // namespace tessera
