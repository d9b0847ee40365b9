#pragma once

#include "editor/Insertion.h"
#include "tools/InlineBuilders.h"

#include <QString>

#include <span>
#include <variant>

class QPushButton;

namespace tessera {

// A button that puts a text style or a character in. The tools panel's
// "Characters, symbols" tab shows all of them and the floating tools window
// most, under the same names, captions, hints and pictures.
struct CharacterButton {
  const char* name;
  const char* caption; // empty where a picture stands instead
  const char* hint;
  std::variant<Wrap, Entity> puts;

  Insertion insertion(const QString& selected) const;
  // The caption's look (bold, italic, underline, larger) on `button`'s
  // font, and its picture where it has one.
  void dress(QPushButton* button) const;
};

// In the order of the panel's tab: the styles, then the characters.
std::span<const CharacterButton> characterButtons();
// The entry named `name`; nullptr when there is none.
const CharacterButton* characterButton(const char* name);

// The line-break buttons' captions and hints (both places show the same hint).
inline constexpr const char* kLineBreakHint = "Brake line (Shift+Enter)";
inline constexpr const char* kLineOmissionHint = "Line omission";

} // namespace tessera
