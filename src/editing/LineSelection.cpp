#include "editing/LineSelection.h"

#include "editor/SourceEditor.h"

#include <QTextBlock>

namespace tessera {

int goToLineCount(const SourceEditor& editor) {
  return editor.textLength() == 0 ? 0 : editor.lineCount();
}

void selectEditorLine(SourceEditor& editor, int line) {
  const int count = goToLineCount(editor);
  int start = editor.textLength();
  int length = 0;
  if (line >= 1 && line <= count) {
    start = editor.lineStart(line - 1);
    // The row ends where the next row starts inside the same text line,
    // else at the end of that text line.
    const QTextDocument* doc = editor.document();
    const int qtStart = editor.toQtPosition(start);
    const QTextBlock block = doc->findBlock(qtStart);
    int qtEnd = block.position() + block.length() - 1;
    if (line < count) {
      const int qtNext = editor.toQtPosition(editor.lineStart(line));
      if (qtNext > qtStart && qtNext < qtEnd) {
        // A soft wrap: the blanks it breaks at hang at the end of this row.
        // A selection ending after them would end where the next row starts,
        // and the caret (and so the status line) would stand on that row.
        qtEnd = qtNext;
        while (qtEnd > qtStart && doc->characterAt(qtEnd - 1).isSpace())
          --qtEnd;
      }
    }
    length = editor.toPosition(qtEnd) - start;
  }
  editor.setSelection(start, length);
  editor.ensureCursorVisible();
  editor.refreshStatus();
}

} // namespace tessera
