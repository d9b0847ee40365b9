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

// The desktop's icon for `id` when its theme has one, else a bundled
// fallback, so the toolbar never shows empty buttons.
QIcon themedIcon(IconId id);

} // namespace tessera
