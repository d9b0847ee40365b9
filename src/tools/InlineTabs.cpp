#include "tools/InlineTabs.h"

#include "editor/EditorView.h"
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

  QPushButton* brake = button(layout, "BitBtn5", QStringLiteral("Brake line"),
                              QStringLiteral("Brake line (Shift+Enter)"));
  brake->setIcon(glyph(Glyph::BrakeLine));
  QPushButton* omit =
      button(layout, "BitBtn6", QStringLiteral("Line omission"), QStringLiteral("Line omission"));
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
  const auto styled = [&](const char* name, const QString& caption, const QString& hint, Wrap wrap,
                          auto setFont) {
    QPushButton* b = button(layout, name, caption, hint);
    QFont font = b->font();
    setFont(font);
    b->setFont(font);
    b->setFixedWidth(wrap == Wrap::Bold || wrap == Wrap::Italic || wrap == Wrap::Underline ? 30
                                                                                           : 56);
    QObject::connect(b, &QPushButton::clicked, b,
                     [editor, wrap] { editor->apply(wrapTool(wrap, editor->selectedText())); });
  };
  const QString serif = QStringLiteral("Times New Roman");
  styled("Button6", "B", "Bold (Ctrl+B)", Wrap::Bold, [&](QFont& f) {
    f.setFamily(serif);
    f.setStyleHint(QFont::Serif);
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
  });
  styled("Button13", "I", "Italic (Ctrl+I)", Wrap::Italic, [&](QFont& f) {
    f.setFamily(serif);
    f.setStyleHint(QFont::Serif);
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setItalic(true);
  });
  styled("Button14", "U", "Underline (Ctrl+U)", Wrap::Underline, [&](QFont& f) {
    f.setFamily(serif);
    f.setStyleHint(QFont::Serif);
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setUnderline(true);
  });
  styled("Button15", "Small", "Small", Wrap::Small, [](QFont&) {});
  styled("Button16", "Big", "Big", Wrap::Big,
         [](QFont& f) { f.setPointSizeF(f.pointSizeF() * 1.3); });
  styled("Button17", "Strong", "Strong - It is recommended to use bold instead of this.",
         Wrap::Strong, [](QFont& f) { f.setBold(true); });

  layout->addSpacing(8);
  const struct {
    const char* name;
    const char* caption;
    const char* hint;
    Entity entity;
  } characters[] = {
      {"BitBtn4", "", "Ampersand", Entity::Ampersand},
      {"Button19", "<", "Relational sign to the left", Entity::LessThan},
      {"Button20", ">", "Relational sign to the right", Entity::GreaterThan},
      {"Button18", "'", "Apostrophe", Entity::Apostrophe},
      {"Button21", "_",
       "Non-Breaking Space - If you want to use more than one space successively. (Ctrl+Space)",
       Entity::Nbsp},
      {"Button22", "\"", "Quotation-mark", Entity::Quote},
      {"Button25", "$", "Dollar sign", Entity::Dollar},
  };
  for (const auto& c : characters) {
    QPushButton* b =
        button(layout, c.name, QString::fromLatin1(c.caption), QString::fromLatin1(c.hint));
    if (c.entity == Entity::Ampersand)
      b->setIcon(glyph(Glyph::Ampersand));
    b->setFixedWidth(28);
    const Entity entity = c.entity;
    QObject::connect(b, &QPushButton::clicked, b,
                     [editor, entity] { editor->apply(characterEntity(entity)); });
  }
  layout->addStretch(1);
}

} // namespace tessera
