#include "editor/SourceEditor.h"

#include "editor/DisplayRows.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <limits>

namespace tessera {

namespace {
// The widget keeps a line break as one paragraph separator.
QString withCrLf(const QString& text) {
  // One pass: QString::replace with a longer text moves the tail once per
  // batch of hits, which is quadratic on a large document.
  const qsizetype breaks = text.count(QChar::ParagraphSeparator);
  if (breaks == 0)
    return text;
  QString out;
  out.reserve(text.size() + breaks);
  qsizetype from = 0;
  for (qsizetype at = text.indexOf(QChar::ParagraphSeparator); at >= 0;
       at = text.indexOf(QChar::ParagraphSeparator, from)) {
    out.append(QStringView(text).mid(from, at - from));
    out.append(QLatin1String("\r\n"));
    from = at + 1;
  }
  out.append(QStringView(text).mid(from));
  return out;
}
} // namespace

SourceEditor::SourceEditor(QWidget* parent)
    : QPlainTextEdit(parent), rows_(new DisplayRows(*this)) {
  setObjectName(QStringLiteral("Memo1"));
  setFont(defaultFont());
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setTabChangesFocus(false);
  connect(document(), &QTextDocument::contentsChange, this, &SourceEditor::onContentsChange);
}

SourceEditor::~SourceEditor() { delete rows_; }

QFont SourceEditor::defaultFont() {
  QFont font(QStringLiteral("Times New Roman"), 12);
  font.setStyleHint(QFont::Serif);
  return font;
}

// --- positions -------------------------------------------------------------

int SourceEditor::toPosition(int qtPosition) const {
  return qtPosition + document()->findBlock(qtPosition).blockNumber();
}

int SourceEditor::toQtPosition(int position) const {
  const QTextDocument* doc = document();
  if (position <= 0)
    return 0;
  // The last block whose start (line breaks counted two) is <= position.
  int lo = 0, hi = doc->blockCount() - 1;
  while (lo < hi) {
    const int mid = lo + (hi - lo + 1) / 2;
    if (doc->findBlockByNumber(mid).position() + mid <= position)
      lo = mid;
    else
      hi = mid - 1;
  }
  const QTextBlock block = doc->findBlockByNumber(lo);
  const int offset = position - (block.position() + lo);
  // A position between the CR and the LF of a break stays at the line end.
  return block.position() + std::min(offset, block.length() - 1);
}

int SourceEditor::selectionStart() const { return toPosition(textCursor().selectionStart()); }

int SourceEditor::selectionEnd() const { return toPosition(textCursor().selectionEnd()); }

int SourceEditor::cursorPosition() const { return toPosition(textCursor().position()); }

QString SourceEditor::selectedText() const { return withCrLf(textCursor().selectedText()); }

void SourceEditor::setSelection(int start, int length) {
  QTextCursor cursor = textCursor();
  cursor.setPosition(toQtPosition(start));
  // Computed wide: a start and length near the int limits must not overflow.
  const qint64 end = std::clamp<qint64>(qint64(start) + length, 0, std::numeric_limits<int>::max());
  cursor.setPosition(toQtPosition(int(end)), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

// --- program edits ---------------------------------------------------------

void SourceEditor::insertWithoutUndo(QTextCursor& cursor, const QString& text) {
  typingRunEnd_ = -1;
  // Switching undo off forgets the recorded step, so the user's last
  // action cannot be undone across a program edit.
  document()->setUndoRedoEnabled(false);
  cursor.insertText(text);
  document()->setUndoRedoEnabled(true);
}

void SourceEditor::insertAtCaret(const QString& text) {
  QTextCursor cursor = textCursor();
  insertWithoutUndo(cursor, text);
  setTextCursor(cursor);
  ensureCursorVisible();
}

void SourceEditor::moveCaretBack(int n) {
  const int target = std::max(0, caretPosition() - n);
  QTextCursor cursor = textCursor();
  cursor.setPosition(toQtPosition(target));
  setTextCursor(cursor);
}

void SourceEditor::focusEditor() {
  if (QWidget* w = window())
    w->activateWindow();
  setFocus(Qt::OtherFocusReason);
}

void SourceEditor::apply(const Insertion& insertion) {
  insertAtCaret(insertion.text);
  if (insertion.caretBack > 0)
    moveCaretBack(insertion.caretBack);
  if (insertion.rerunChange)
    runChangeHandling();
  focusEditor();
}

// --- editor lines ----------------------------------------------------------

int SourceEditor::lineCount() const { return rows_->rowCount(); }

QString SourceEditor::lineText(int line) const {
  int start = 0, end = 0;
  rows_->rowRange(line, &start, &end);
  const QTextBlock block = document()->findBlock(start);
  const int from = start - block.position();
  return block.text().mid(from, std::min(end - start, kMaxLineText));
}

int SourceEditor::lineStart(int line) const { return toPosition(rows_->rowStart(line)); }

int SourceEditor::lineOfPosition(int position) const {
  return rows_->rowOfQtPosition(toQtPosition(position));
}

// --- whole text ------------------------------------------------------------

QString SourceEditor::wholeText() const { return withCrLf(document()->toRawText()); }

int SourceEditor::textLength() const {
  const QTextDocument* doc = document();
  // characterCount() includes the final paragraph separator.
  return doc->characterCount() - 1 + (doc->blockCount() - 1);
}

bool SourceEditor::holdsText(const QString& text) const {
  // Compared line by line: a large document is never copied whole for this.
  if (text.size() != textLength())
    return false;
  const QStringView view(text);
  qsizetype offset = 0;
  const QTextBlock first = document()->firstBlock();
  for (QTextBlock block = first; block.isValid(); block = block.next()) {
    if (block != first) {
      if (view.mid(offset, 2) != QLatin1String("\r\n"))
        return false;
      offset += 2;
    }
    const QString line = block.text();
    if (view.mid(offset, line.size()) != line)
      return false;
    offset += line.size();
  }
  return offset == text.size();
}

bool SourceEditor::replaceWholeText(const QString& text) {
  const bool changed = !holdsText(text);
  if (changed) {
    // The widget reports clearing and filling as two changes; this is one.
    replacing_ = true;
    document()->setUndoRedoEnabled(false);
    setPlainText(text);
    document()->setUndoRedoEnabled(true);
    replacing_ = false;
  } else {
    document()->clearUndoRedoStacks();
  }
  QTextCursor cursor = textCursor();
  cursor.setPosition(0);
  setTextCursor(cursor);
  if (changed)
    runChangeHandling();
  return changed;
}

// --- change handling and status --------------------------------------------

RowColumn SourceEditor::rowColumn() const {
  // Runs on every keystroke: a few tree lookups, whatever the document's size.
  const QTextCursor cursor = textCursor();
  const int end = cursor.selectionEnd();
  RowColumn rc;
  int endRowStart = 0;
  rc.row = rows_->rowOfQtPosition(end, &endRowStart);
  if (cursor.position() == end) {
    rc.column = end - endRowStart; // same row, so no line break in between
    return rc;
  }
  // A selection made leftwards: the column counts from the caret's row.
  int caretRowStart = 0;
  rows_->rowOfQtPosition(cursor.position(), &caretRowStart);
  rc.column = toPosition(end) - toPosition(caretRowStart);
  return rc;
}

void SourceEditor::runChangeHandling() {
  refreshStatus();
  modified_ = true;
}

void SourceEditor::refreshStatus() { emit statusChanged(rowColumn()); }

void SourceEditor::onContentsChange(int, int removed, int added) {
  if ((removed == 0 && added == 0) || replacing_)
    return;
  runChangeHandling();
}

// --- undo --------------------------------------------------------------------

bool SourceEditor::canUndoStep() const {
  return document()->isUndoAvailable() || document()->isRedoAvailable();
}

void SourceEditor::undoStep() {
  typingRunEnd_ = -1;
  // The widget keeps a deeper history; only its top step is ever used:
  // after an Undo the next Undo redoes that same step.
  if (document()->isRedoAvailable())
    redo();
  else if (document()->isUndoAvailable())
    undo();
}

// --- events ----------------------------------------------------------------

namespace {
// Keys that type text: printable characters and Enter, without Ctrl or Alt.
bool typesText(const QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
    return false;
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
    return !(event->modifiers() & Qt::ShiftModifier);
  const QString text = event->text();
  return !text.isEmpty() && text.at(0).isPrint();
}
} // namespace

void SourceEditor::keyPressEvent(QKeyEvent* event) {
  if (event == QKeySequence::Undo) {
    undoStep();
    event->accept();
    return;
  }
  if (event == QKeySequence::Redo) {
    event->accept();
    return;
  }
  if (!typesText(event)) {
    typingRunEnd_ = -1;
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  // A run of typing, Enter included, is one step to undo (the widget would
  // record every line break as a step of its own), so the characters are
  // put in here, joined to the run's edit block.
  QTextCursor cursor = textCursor();
  const bool continues = typingRunEnd_ == cursor.position() && !cursor.hasSelection() &&
                         document()->isUndoAvailable() && !document()->isRedoAvailable();
  if (continues)
    cursor.joinPreviousEditBlock();
  else
    cursor.beginEditBlock();
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    cursor.removeSelectedText(); // insertBlock() alone would keep the selection
    cursor.insertBlock();
  } else
    cursor.insertText(event->text());
  cursor.endEditBlock();
  setTextCursor(cursor);
  ensureCursorVisible();
  typingRunEnd_ = cursor.position();
  event->accept();
}

void SourceEditor::keyReleaseEvent(QKeyEvent* event) {
  QPlainTextEdit::keyReleaseEvent(event);
  refreshStatus();
}

void SourceEditor::mouseReleaseEvent(QMouseEvent* event) {
  QPlainTextEdit::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton)
    refreshStatus();
}

} // namespace tessera
