#include "editor/SourceEditor.h"

#include "editor/DisplayRows.h"
#include "editor/TextDocument.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <limits>

namespace tessera {

SourceEditor::SourceEditor(TextDocument& document, QWidget* parent)
    : QPlainTextEdit(parent), model_(document) {
  setDocument(document.qtDocument());
  // Made after the document is in place: the row cache follows its changes
  // before the change handling below reads it.
  rows_ = new DisplayRows(*this, &document);
  setObjectName(QStringLiteral("Memo1"));
  setFont(defaultFont());
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setTabChangesFocus(false);
  connect(&document, &TextDocument::changed, this, &SourceEditor::refreshStatus);
  connect(&document, &TextDocument::textReplaced, this, &SourceEditor::onTextReplaced);
}

SourceEditor::SourceEditor(QWidget* parent) : SourceEditor(*new TextDocument, parent) {
  // Owned from here on; a child made after the widget's own parts, so it
  // is deleted after them.
  model_.setParent(this);
}

SourceEditor::~SourceEditor() { delete rows_; }

QFont SourceEditor::defaultFont() {
  QFont font(QStringLiteral("Times New Roman"), 12);
  font.setStyleHint(QFont::Serif);
  return font;
}

// --- positions -------------------------------------------------------------

TextPosition SourceEditor::textPosition(int qtPosition) const {
  return model_.toTextPosition(QtPosition(qtPosition));
}

int SourceEditor::qtPosition(TextPosition position) const {
  return model_.toQtPosition(position).value;
}

TextPosition SourceEditor::selectionStart() const {
  return textPosition(textCursor().selectionStart());
}

TextPosition SourceEditor::selectionEnd() const {
  return textPosition(textCursor().selectionEnd());
}

TextPosition SourceEditor::cursorPosition() const { return textPosition(textCursor().position()); }

QString SourceEditor::selectedText() const {
  // The widget gives a line break as the paragraph separator.
  QString text = textCursor().selectedText();
  const qsizetype breaks = text.count(QChar::ParagraphSeparator);
  if (breaks == 0)
    return text;
  QString out;
  out.reserve(text.size() + breaks);
  for (const QChar c : text) {
    if (c == QChar::ParagraphSeparator)
      out.append(QLatin1String("\r\n"));
    else
      out.append(c);
  }
  return out;
}

void SourceEditor::setSelection(TextPosition start, int length) {
  QTextCursor cursor = textCursor();
  cursor.setPosition(qtPosition(start));
  // Computed wide: a start and length near the int limits must not overflow.
  const qint64 end =
      std::clamp<qint64>(qint64(start.value) + length, 0, std::numeric_limits<int>::max());
  cursor.setPosition(qtPosition(TextPosition(int(end))), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

// --- program edits ---------------------------------------------------------

void SourceEditor::insertAtCaret(const QString& text) {
  typingRunEnd_ = -1;
  QTextCursor cursor = textCursor();
  model_.editWithoutUndo([&] { cursor.insertText(text); });
  setTextCursor(cursor);
  ensureCursorVisible();
}

void SourceEditor::moveCaretBack(int n) {
  const TextPosition target = std::max(TextPosition(0), caretPosition() - n);
  QTextCursor cursor = textCursor();
  cursor.setPosition(qtPosition(target));
  setTextCursor(cursor);
}

void SourceEditor::focusEditor() {
  if (QWidget* w = window())
    w->activateWindow();
  setFocus(Qt::OtherFocusReason);
}

void SourceEditor::takeFocus() { setFocus(Qt::OtherFocusReason); }

void SourceEditor::showStart() {
  setSelection(TextPosition(0), 0);
  ensureCursorVisible();
  verticalScrollBar()->setValue(0);
}

void SourceEditor::keepSelectionShownInactive() {
  QPalette colours = palette();
  for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
    colours.setBrush(QPalette::Inactive, role, colours.brush(QPalette::Active, role));
  setPalette(colours);
}

void SourceEditor::apply(const Insertion& insertion) {
  insertAtCaret(insertion.text);
  if (insertion.caretBack > 0)
    moveCaretBack(insertion.caretBack);
  if (insertion.rerunChange)
    runChangeHandling();
  focusEditor();
}

void SourceEditor::onTextReplaced() {
  typingRunEnd_ = -1;
  QTextCursor cursor = textCursor();
  cursor.setPosition(0);
  setTextCursor(cursor);
}

// --- editor lines ----------------------------------------------------------

int SourceEditor::lineCount() const { return rows_->rowCount(); }

QString SourceEditor::lineText(int line) const {
  QtPosition start, end;
  rows_->rowRange(line, &start, &end);
  const QTextBlock block = document()->findBlock(start.value);
  const int from = start - QtPosition(block.position());
  return block.text().mid(from, std::min(end - start, kMaxLineText));
}

TextPosition SourceEditor::lineStart(int line) const {
  return model_.toTextPosition(rows_->rowStart(line));
}

int SourceEditor::lineOfPosition(TextPosition position) const {
  return rows_->rowOfQtPosition(model_.toQtPosition(position));
}

// --- change handling and status --------------------------------------------

RowColumn SourceEditor::rowColumn() const {
  // Runs on every keystroke: a few tree lookups, whatever the document's size.
  const QTextCursor cursor = textCursor();
  const QtPosition end(cursor.selectionEnd());
  RowColumn rc;
  QtPosition endRowStart;
  rc.row = rows_->rowOfQtPosition(end, &endRowStart);
  if (cursor.position() == end.value) {
    rc.column = end - endRowStart; // same row, so no line break in between
    return rc;
  }
  // A selection made leftwards: the column counts from the caret's row.
  QtPosition caretRowStart;
  rows_->rowOfQtPosition(QtPosition(cursor.position()), &caretRowStart);
  rc.column = model_.toTextPosition(end) - model_.toTextPosition(caretRowStart);
  return rc;
}

void SourceEditor::runChangeHandling() {
  refreshStatus();
  model_.setModified(true);
}

void SourceEditor::refreshStatus() { emit statusChanged(rowColumn()); }

// --- undo --------------------------------------------------------------------

void SourceEditor::undoStep() {
  typingRunEnd_ = -1;
  // The widget keeps a deeper history; only its top step is ever used.
  if (model_.undoStepRedoes())
    redo();
  else if (model_.canUndoStep())
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
