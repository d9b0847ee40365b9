#include "editing/LineSelection.h"

#include "editor/EditorView.h"
#include "editor/TextDocument.h"

#include <QTextBlock>

namespace tessera {

int goToLineCount(const EditorView& editor) {
  return editor.textDocument().textLength() == 0 ? 0 : editor.lineCount();
}

void selectEditorLine(EditorView& editor, int line) {
  const TextDocument& document = editor.textDocument();
  const int count = goToLineCount(editor);
  TextPosition start = document.end();
  int length = 0;
  if (line >= 1 && line <= count) {
    start = editor.lineStart(line - 1);
    // The row ends where the next row starts inside the same text line,
    // else at the end of that text line.
    const QtPosition qtStart = document.toQtPosition(start);
    const QTextBlock block = document.qtDocument()->findBlock(qtStart.value);
    QtPosition qtEnd(block.position() + block.length() - 1);
    if (line < count) {
      const QtPosition qtNext = document.toQtPosition(editor.lineStart(line));
      if (qtNext > qtStart && qtNext < qtEnd) {
        // A soft wrap: the blanks it breaks at hang at the end of this row.
        // A selection ending after them would end where the next row starts,
        // and the caret (and so the status line) would stand on that row.
        qtEnd = qtNext;
        while (qtEnd > qtStart && document.qtDocument()->characterAt(qtEnd.value - 1).isSpace())
          qtEnd = qtEnd - 1;
      }
    }
    length = document.toTextPosition(qtEnd) - start;
  }
  editor.setSelection(start, length);
  editor.ensureCaretVisible();
  editor.refreshStatus();
}

} // namespace tessera
