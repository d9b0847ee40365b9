#include "editing/FindReplace.h"

#include "editing/FindDialog.h"
#include "editing/ReplaceDialog.h"
#include "editing/TextSearch.h"
#include "editor/EditorView.h"
#include "editor/TextDocument.h"
#include "platform/Prompts.h"

#include <QTextCursor>
#include <QTextDocument>

namespace tessera {

namespace {
// The widget keeps each line break as one paragraph separator; a search
// text typed with CR LF (or a lone CR or LF) means the same break.
QString widgetNeedle(QString needle) {
  needle.replace(QLatin1String("\r\n"), QString(QChar::ParagraphSeparator));
  needle.replace(QLatin1Char('\r'), QChar::ParagraphSeparator);
  needle.replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
  return needle;
}
} // namespace

FindReplace::FindReplace(EditorView& editor, Prompts& prompts, QWidget* dialogParent,
                         QObject* parent)
    : QObject(parent), editor_(editor), prompts_(prompts), dialogParent_(dialogParent) {
  connect(&editor_.textDocument(), &TextDocument::contentsChange, this, [this] {
    textCurrent_ = false;
    text_.clear();
  });
}

FindDialog* FindReplace::findDialog() {
  if (!findDialog_) {
    findDialog_ = new FindDialog(dialogParent_);
    connect(findDialog_, &FindDialog::findNext, this, &FindReplace::findNext);
  }
  return findDialog_;
}

ReplaceDialog* FindReplace::replaceDialog() {
  if (!replaceDialog_) {
    replaceDialog_ = new ReplaceDialog(dialogParent_);
    connect(replaceDialog_, &ReplaceDialog::findNext, this, &FindReplace::findNext);
    connect(replaceDialog_, &ReplaceDialog::replace, this, &FindReplace::replace);
    connect(replaceDialog_, &ReplaceDialog::replaceAll, this, &FindReplace::replaceAll);
    // Leaving the replace box (Cancel or its close box) returns to the text.
    connect(replaceDialog_, &QDialog::finished, this, [this] { editor_.focusEditor(); });
  }
  return replaceDialog_;
}

const QString& FindReplace::text() {
  // The toolkit's own text (one character per line break): searching it
  // needs no converted copy, and its positions are QtPositions.
  if (!textCurrent_) {
    text_ = editor_.textDocument().qtDocument()->toRawText();
    textCurrent_ = true;
  }
  return text_;
}

void FindReplace::openFind() {
  findStart_ = TextPosition(0);
  findDialog()->showBox();
}

void FindReplace::openReplace() {
  // Its Find Next starts from the top as well.
  findStart_ = TextPosition(0);
  replaceDialog()->showBox();
}

void FindReplace::keepSelectionVisible() {
  // A found text stays highlighted while the box has the focus. Set once:
  // a palette change makes the editor lay out its text again.
  if (selectionKeptVisible_)
    return;
  selectionKeptVisible_ = true;
  editor_.keepSelectionShownInactive();
}

void FindReplace::selectRange(QtPosition from, QtPosition to) {
  const TextDocument& document = editor_.textDocument();
  const TextPosition start = document.toTextPosition(from);
  editor_.setSelection(start, document.toTextPosition(to) - start);
}

bool FindReplace::findNext(const QString& needle) {
  keepSelectionVisible();
  const TextDocument& document = editor_.textDocument();
  if (needle.isEmpty() || findStart_ >= document.end())
    return false;
  QtPosition from = document.toQtPosition(findStart_);
  // One past a hit that began at a line break lies inside the break.
  if (document.toTextPosition(from) < findStart_)
    from = from + 1;
  const QString target = widgetNeedle(needle);
  const int hit = findForward(text(), target, from.value);
  if (hit < 0)
    return false;
  selectRange(QtPosition(hit), QtPosition(hit + int(target.size())));
  editor_.ensureCaretVisible();
  editor_.refreshStatus();
  findStart_ = editor_.caretPosition() + 1;
  return true;
}

void FindReplace::reportNotFound(const QString& needle) {
  prompts_.error(replaceDialog(), QLatin1Char('"') + needle + QStringLiteral("\" not found."));
}

bool FindReplace::replace(const QString& needle, const QString& replacement) {
  if (needle.isEmpty())
    return false;
  const QString target = widgetNeedle(needle);
  const QtPosition selectionStart = editor_.textDocument().toQtPosition(editor_.selectionStart());
  const int hit = findForReplace(text(), target, selectionStart.value);
  if (hit < 0) {
    reportNotFound(needle);
    return false;
  }
  selectRange(QtPosition(hit), QtPosition(hit + int(target.size())));
  editor_.insertAtCaret(replacement);
  return true;
}

namespace {
// Replace All puts in the stretch between the first and the last occurrence
// as one piece when the occurrences lie on average no further apart than
// this many characters.
constexpr int kDenseSpan = 64;
} // namespace

bool FindReplace::replaceAll(const QString& needle, const QString& replacement) {
  if (needle.isEmpty())
    return false;
  const QString target = widgetNeedle(needle);
  const QList<int> hits = allOccurrences(text(), target);
  if (hits.isEmpty()) {
    reportNotFound(needle);
    return false;
  }
  // One edit block: one change for the document, its layout and the
  // change handling. Like every program edit it cannot be undone.
  QTextDocument* doc = editor_.textDocument().qtDocument();
  QTextCursor cursor(doc);
  QTextCursor caretAfter(doc);
  editor_.textDocument().editWithoutUndo([&] {
    cursor.beginEditBlock();
    const int first = hits.front();
    const int last = hits.back() + int(target.size());
    if (last - first <= hits.size() * kDenseSpan) {
      // Occurrences close together: the stretch from the first to the last
      // is built once and put in as one piece, which costs about as much as
      // giving the toolkit that much text, where an edit per occurrence
      // costs several times more.
      const QString& all = text();
      QString stretch;
      stretch.reserve(last - first + hits.size() * (replacement.size() - target.size() + 1));
      int from = first;
      for (const int hit : hits) {
        stretch += QStringView(all).mid(from, hit - from);
        stretch += replacement;
        from = hit + int(target.size());
      }
      cursor.setPosition(first);
      cursor.setPosition(last, QTextCursor::KeepAnchor);
      cursor.insertText(stretch);
      caretAfter.setPosition(cursor.position());
    } else {
      // Few and far apart: each on its own, right to left so the places
      // found stay valid; the text between them is never touched.
      for (qsizetype i = hits.size() - 1; i >= 0; --i) {
        cursor.setPosition(hits[i]);
        cursor.setPosition(hits[i] + int(target.size()), QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
        if (i == hits.size() - 1)
          caretAfter.setPosition(cursor.position()); // moves along with later edits
      }
    }
    cursor.endEditBlock();
  });
  const TextDocument& document = editor_.textDocument();
  editor_.setSelection(document.toTextPosition(QtPosition(caretAfter.position())), 0);
  editor_.ensureCaretVisible();
  return true;
}

} // namespace tessera
