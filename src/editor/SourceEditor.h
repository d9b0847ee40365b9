#pragma once

#include "editor/EditorView.h"

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

// The source editor view: draws a TextDocument, holds the caret and the
// selection, forwards keys, and computes the status line's row and column.
// Positions it takes and gives count a line break as two (TextPosition);
// conversions go through the document.
class SourceEditor : public QPlainTextEdit, public EditorView {
  Q_OBJECT
public:
  static constexpr int kMaxLineText = 4096;

  // A view over `document`, which outlives it.
  explicit SourceEditor(TextDocument& document, QWidget* parent = nullptr);
  // A view over a document of its own.
  explicit SourceEditor(QWidget* parent = nullptr);
  ~SourceEditor() override;

  // The font the editor starts with.
  static QFont defaultFont();

  TextDocument& textDocument() const override { return model_; }

  // --- positions and selection (line break = 2)
  TextPosition selectionStart() const override;
  TextPosition selectionEnd() const override;
  QString selectedText() const override;
  void setSelection(TextPosition start, int length) override;
  // The caret itself (the moving end of a selection), as a position.
  TextPosition cursorPosition() const;

  // --- program edits
  void insertAtCaret(const QString& text) override;
  void moveCaretBack(int n) override;
  void apply(const Insertion& insertion) override;

  // --- focus
  void focusEditor() override;
  void takeFocus() override;
  bool editorHasFocus() const override { return hasFocus(); }
  void showStart() override;
  void ensureCaretVisible() override { ensureCursorVisible(); }
  void keepSelectionShownInactive() override;

  // --- editor lines (display rows under word wrap)
  int lineCount() const override;
  QString lineText(int line) const override; // at most kMaxLineText characters
  TextPosition lineStart(int line) const override;
  int lineOfPosition(TextPosition position) const;

  // --- change handling and status
  RowColumn rowColumn() const;
  void runChangeHandling() override;
  void refreshStatus() override;

  // --- undo (one step; Undo of an Undo redoes)
  void undoStep();

signals:
  // After every change handling and status refresh: row and column of the caret.
  void statusChanged(tessera::RowColumn where);

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  TextPosition textPosition(int qtPosition) const;
  int qtPosition(TextPosition position) const;
  void onTextReplaced();

  TextDocument& model_;
  int typingRunEnd_ = -1; // widget position where the last run of typing ended
  DisplayRows* rows_ = nullptr;
};

} // namespace tessera
