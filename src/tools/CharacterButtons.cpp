#include "tools/CharacterButtons.h"

#include "tools/ToolWidgets.h"

#include <QPushButton>

#include <algorithm>
#include <array>
#include <cstring>

namespace tessera {

namespace {

const std::array<CharacterButton, 13> kButtons = {{
    {"Button6", "B", "Bold (Ctrl+B)", Wrap::Bold},
    {"Button13", "I", "Italic (Ctrl+I)", Wrap::Italic},
    {"Button14", "U", "Underline (Ctrl+U)", Wrap::Underline},
    {"Button15", "Small", "Small", Wrap::Small},
    {"Button16", "Big", "Big", Wrap::Big},
    {"Button17", "Strong", "Strong - It is recommended to use bold instead of this.", Wrap::Strong},
    {"BitBtn4", "", "Ampersand", Entity::Ampersand},
    {"Button19", "<", "Relational sign to the left", Entity::LessThan},
    {"Button20", ">", "Relational sign to the right", Entity::GreaterThan},
    {"Button18", "'", "Apostrophe", Entity::Apostrophe},
    {"Button21", "_",
     "Non-Breaking Space - If you want to use more than one space successively. (Ctrl+Space)",
     Entity::Nbsp},
    {"Button22", "\"", "Quotation-mark", Entity::Quote},
    {"Button25", "$", "Dollar sign", Entity::Dollar},
}};

} // namespace

Insertion CharacterButton::insertion(const QString& selected) const {
  if (const Wrap* wrap = std::get_if<Wrap>(&puts))
    return wrapTool(*wrap, selected);
  return characterEntity(std::get<Entity>(puts));
}

void CharacterButton::dress(QPushButton* button) const {
  if (std::holds_alternative<Entity>(puts) && std::get<Entity>(puts) == Entity::Ampersand) {
    button->setIcon(toolui::glyph(toolui::Glyph::Ampersand));
    return;
  }
  const Wrap* wrap = std::get_if<Wrap>(&puts);
  if (!wrap)
    return;
  QFont font = button->font();
  switch (*wrap) {
  case Wrap::Bold:
  case Wrap::Italic:
  case Wrap::Underline:
    // The classic look of the three style buttons: a serif letter.
    font.setFamily(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setBold(*wrap == Wrap::Bold);
    font.setItalic(*wrap == Wrap::Italic);
    font.setUnderline(*wrap == Wrap::Underline);
    break;
  case Wrap::Big: font.setPointSizeF(font.pointSizeF() * 1.3); break;
  case Wrap::Strong: font.setBold(true); break;
  case Wrap::Small: break;
  }
  button->setFont(font);
}

std::span<const CharacterButton> characterButtons() { return kButtons; }

const CharacterButton* characterButton(const char* name) {
  const auto found = std::find_if(kButtons.begin(), kButtons.end(), [name](const auto& button) {
    return std::strcmp(name, button.name) == 0;
  });
  return found == kButtons.end() ? nullptr : &*found;
}

} // namespace tessera
