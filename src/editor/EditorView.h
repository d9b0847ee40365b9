#pragma once

#include "editor/Insertion.h"
#include "wml/Positions.h"

#include <QString>

namespace tessera {

class TextDocument;

// The source editor view as tools, dialogs, generators and document
// commands see it: the caret and selection over the document, and the
// operations every tool speaks of, without the widget. SourceEditor is the
// one implementation; code that must drive the widget itself (keys, the
// clipboard, the context menu) uses that.
class EditorView {
public:
  virtual ~EditorView() = default;

  virtual TextDocument& textDocument() const = 0;

  // --- selection (line breaks as CR LF)
  virtual TextPosition selectionStart() const = 0;
  virtual TextPosition selectionEnd() const = 0;
  // The caret as tools see it: the selection's start.
  TextPosition caretPosition() const { return selectionStart(); }
  int selectionLength() const { return selectionEnd() - selectionStart(); }
  virtual QString selectedText() const = 0;
  // A negative length selects leftwards: the caret ends at the start.
  virtual void setSelection(TextPosition start, int length) = 0;

  // --- program edits
  // Replaces the selection by `text` (CR LF, LF or CR all make one line
  // break); the caret ends after it with nothing selected. Not undoable.
  virtual void insertAtCaret(const QString& text) = 0;
  virtual void moveCaretBack(int n) = 0;
  // Insert, move back, optionally run the change handling again, focus.
  virtual void apply(const Insertion& insertion) = 0;

  // --- change handling and status
  // Refresh the status line and set the modified flag.
  virtual void runChangeHandling() = 0;
  // Refresh the status line only.
  virtual void refreshStatus() = 0;

  // --- focus
  // The editor takes the focus and its window is activated.
  virtual void focusEditor() = 0;
  // The editor becomes the focus of its window, which is left as it is (a
  // modal window closing over it activates it).
  virtual void takeFocus() = 0;
  virtual bool editorHasFocus() const = 0;
  // Caret at the start, nothing selected, scrolled to the top.
  virtual void showStart() = 0;

  // --- scrolling and highlight
  // Scrolls so that the caret shows.
  virtual void ensureCaretVisible() = 0;
  // From now on the selection stays highlighted while another window has
  // the focus (a found text under the find box).
  virtual void keepSelectionShownInactive() = 0;

  // --- editor lines: display rows under word wrap
  virtual int lineCount() const = 0;
  // Without its break, cut to a few thousand characters.
  virtual QString lineText(int line) const = 0;
  virtual TextPosition lineStart(int line) const = 0;
};

} // namespace tessera
