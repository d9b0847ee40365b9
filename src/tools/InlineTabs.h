#pragma once

class QWidget;

namespace tessera {

class SourceEditor;

// The one-click tabs: "General tools" (line breaks), "Formatting"
// (paragraph alignment) and "Characters, symbols" (text styles and
// character entities). They keep no state.
void buildGeneralToolsTab(QWidget* page, SourceEditor* editor);
void buildFormattingTab(QWidget* page, SourceEditor* editor);
void buildCharactersTab(QWidget* page, SourceEditor* editor);

} // namespace tessera
