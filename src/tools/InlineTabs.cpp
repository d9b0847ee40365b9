#include "tools/InlineTabs.h"

#include "editor/EditorView.h"
#include "tools/CharacterButtons.h"
#include "tools/InlineBuilders.h"
#include "tools/ToolWidgets.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace tessera {

using namespace toolui;

void buildGeneralToolsTab(QWidget* page, EditorView* editor) {
  QHBoxLayout* layout = row(page);
  // The hidden pair carries the line-break operations (no focus change);
  // the visible buttons run them and then focus the editor.
  QPushButton* carriageReturn =
      button(layout, "Button1", QStringLiteral("Carriage return"), QStringLiteral("Sortörés"));
  QPushButton* omission =
      button(layout, "Button2", QStringLiteral("Line omission"), QStringLiteral("Sorkihagyás"));
  carriageReturn->hide();
  omission->hide();
  QObject::connect(carriageReturn, &QPushButton::clicked, carriageReturn,
                   [editor] { editor->insertAtCaret(lineBreak().text); });
  QObject::connect(omission, &QPushButton::clicked, omission,
                   [editor] { editor->insertAtCaret(lineOmission().text); });

  QPushButton* brake =
      button(layout, "BitBtn5", QStringLiteral("Brake line"), QString::fromLatin1(kLineBreakHint));
  brake->setIcon(glyph(Glyph::BrakeLine));
  QPushButton* omit = button(layout, "BitBtn6", QStringLiteral("Line omission"),
                             QString::fromLatin1(kLineOmissionHint));
  omit->setIcon(glyph(Glyph::LineOmission));
  QObject::connect(brake, &QPushButton::clicked, brake, [editor, carriageReturn] {
    carriageReturn->click();
    editor->focusEditor();
  });
  QObject::connect(omit, &QPushButton::clicked, omit, [editor, omission] {
    omission->click();
    editor->focusEditor();
  });
  layout->addStretch(1);
}

void buildFormattingTab(QWidget* page, EditorView* editor) {
  QHBoxLayout* layout = row(page);
  const struct {
    const char* name;
    const char* hint;
    Align align;
    Glyph glyph;
  } tools[] = {
      {"BitBtn1", "Align left", Align::Left, Glyph::AlignLeft},
      {"BitBtn2", "Align center", Align::Center, Glyph::AlignCenter},
      {"BitBtn3", "Align right", Align::Right, Glyph::AlignRight},
  };
  for (const auto& tool : tools) {
    QPushButton* b = button(layout, tool.name, QString(), QString::fromLatin1(tool.hint));
    b->setIcon(glyph(tool.glyph));
    b->setFixedWidth(32);
    const Align align = tool.align;
    QObject::connect(b, &QPushButton::clicked, b, [editor, align] {
      editor->apply(alignParagraph(align, editor->selectedText()));
    });
  }
  layout->addStretch(1);
}

void buildCharactersTab(QWidget* page, EditorView* editor) {
  QHBoxLayout* layout = row(page);
  bool firstCharacter = true;
  for (const CharacterButton& c : characterButtons()) {
    const Wrap* wrap = std::get_if<Wrap>(&c.puts);
    if (!wrap && firstCharacter) {
      layout->addSpacing(8); // between the styles and the characters
      firstCharacter = false;
    }
    QPushButton* b =
        button(layout, c.name, QString::fromLatin1(c.caption), QString::fromLatin1(c.hint));
    c.dress(b);
    const bool letter =
        wrap && (*wrap == Wrap::Bold || *wrap == Wrap::Italic || *wrap == Wrap::Underline);
    if (letter) {
      QFont font = b->font();
      font.setPointSizeF(font.pointSizeF() * 1.4);
      b->setFont(font);
    }
    b->setFixedWidth(!wrap ? 28 : letter ? 30 : 56);
    QObject::connect(b, &QPushButton::clicked, b,
                     [editor, &c] { editor->apply(c.insertion(editor->selectedText())); });
  }
  layout->addStretch(1);
}

} // namespace tessera
