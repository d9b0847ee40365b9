#pragma once

#include <QIcon>

namespace tessera {

enum class IconId {
  New,
  Open,
  Save,
  Cut,
  Copy,
  Paste,
  Table,
  DropDown,
  ToolsWindowShown,
  ToolsWindowHidden,
  About,
  Print,
  Exit,
};

// Picks the icon theme at start-up: the desktop's own, else Tango. Where
// the windowing system names no icon folders (minimal and virtual displays),
// the installed themes are searched all the same, so the toolbar looks as it
// does on a desktop instead of falling back to the style's pictures.
void chooseIconTheme();

// The desktop's icon for `id` when its theme has one, else a bundled
// fallback, so the toolbar never shows empty buttons.
QIcon themedIcon(IconId id);

} // namespace tessera
