#pragma once

class QWidget;

namespace tessera {

class EditorView;

// The one-click tabs: "General tools" (line breaks), "Formatting"
// (paragraph alignment) and "Characters, symbols" (text styles and
// character entities). They keep no state.
void buildGeneralToolsTab(QWidget* page, EditorView* editor);
void buildFormattingTab(QWidget* page, EditorView* editor);
void buildCharactersTab(QWidget* page, EditorView* editor);

} // namespace tessera
