#pragma once

namespace tessera {

class EditorView;

// The editor's line count as Go to Line counts: an empty text has no line
// (the editor itself reports one empty line there).
int goToLineCount(const EditorView& editor);

// Selects editor line `line` (counted from 1) without its line break (and,
// where word wrap breaks the row, without the blanks it breaks at) and
// scrolls to it; line count + 1 is the place after the last line (the end
// of the text), where nothing is selected. Refreshes the status line but
// changes no text.
void selectEditorLine(EditorView& editor, int line);

} // namespace tessera
