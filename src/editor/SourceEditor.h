#pragma once

#include "editor/Insertion.h"

#include <QPlainTextEdit>

namespace tessera {

class DisplayRows;

// Where the caret stands, as the status line shows it: row counted from 0
// (an editor line: a display row under word wrap) and column counted from 0.
struct RowColumn {
  int row = 0;
  int column = 0;
  bool operator==(const RowColumn&) const = default;
};

// The source editor: the one object every tool, dialog and command works on.
//
// Positions count characters from the start of the text with a line break
// counting as two (CR LF), whatever the widget stores. Conversions go through
// the block number, so no operation here materialises the whole text except
// wholeText() and replaceWholeText().
//
// Undo keeps one step of the user's own editing (typing, cut, paste,
// deletion); program insertions are not undoable and forget that step.
class SourceEditor : public QPlainTextEdit {
  Q_OBJECT
public:
  static constexpr int kMaxLineText = 4096;

  explicit SourceEditor(QWidget* parent = nullptr);
  ~SourceEditor() override;

  // The font the editor starts with.
  static QFont defaultFont();

  // --- positions and selection (line break = 2)
  int caretPosition() const { return selectionStart(); } // the selection start
  int selectionStart() const;
  int selectionEnd() const;
  int selectionLength() const { return selectionEnd() - selectionStart(); }
  QString selectedText() const; // line breaks as CR LF
  void setSelection(int start, int length);
  // The caret itself (the moving end of a selection), as a position.
  int cursorPosition() const;

  // --- program edits
  // Replaces the selection by `text` (CR LF, LF or CR all make one line
  // break); the caret ends after it with nothing selected. Not undoable.
  void insertAtCaret(const QString& text);
  void moveCaretBack(int n);
  void focusEditor();
  // Insert, move back, optionally run the change handling again, focus.
  void apply(const Insertion& insertion);

  // --- editor lines (display rows under word wrap)
  int lineCount() const;
  QString lineText(int line) const; // without its break, at most kMaxLineText characters
  int lineStart(int line) const;
  int lineOfPosition(int position) const;

  // --- the whole text
  QString wholeText() const; // CR LF line breaks
  int textLength() const;    // same count as wholeText().size(), without building it
  // Replaces the whole text in one step; caret to the start, nothing
  // selected, undo emptied. Runs the change handling only when the text
  // differs; returns whether it did.
  bool replaceWholeText(const QString& text);
  // Whether the editor's text equals `text` (CR LF breaks), character for character.
  bool holdsText(const QString& text) const;

  // --- change handling and status
  RowColumn rowColumn() const;
  bool isModifiedFlag() const { return modified_; }
  void setModifiedFlag(bool modified) { modified_ = modified; }
  // The change handling: refresh the status line and set the modified flag.
  void runChangeHandling();
  // Refresh the status line only.
  void refreshStatus();

  // --- undo (one step; Undo of an Undo redoes)
  bool canUndoStep() const;
  void undoStep();

  // Position conversions, exposed for tests and tools that need them.
  int toPosition(int qtPosition) const;
  int toQtPosition(int position) const;

signals:
  // After every change handling and status refresh: row and column of the caret.
  void statusChanged(tessera::RowColumn where);

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  void onContentsChange(int from, int removed, int added);
  void insertWithoutUndo(QTextCursor& cursor, const QString& text);

  bool modified_ = false;
  bool replacing_ = false;
  int typingRunEnd_ = -1; // widget position where the last run of typing ended
  DisplayRows* rows_ = nullptr;
};

} // namespace tessera
