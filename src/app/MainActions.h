#pragma once

#include <cstddef>

namespace tessera {

// The main window's menu commands and hidden shortcut items. The main
// window makes one action for each (carrying its layout name as the object
// name) and hands the ones a subsystem needs to it as typed references, so
// renaming an action can never unbind a command.
enum class MainAction {
  New,
  NewFile,
  SiteWizard,
  NewWindow,
  Open,
  Save,
  Print,
  Exit,
  Undo,
  Copy,
  Paste,
  Cut,
  Delete,
  Find,
  Replace,
  GoToLine,
  SelectAll,
  DateTime,
  TableEditor,
  DropDownMenuEditor,
  ChangeCharacterFormat,
  UpperCase,
  LowerCase,
  WordWrap,
  FontSizeSmall,
  FontSizeNormal,
  ToolsWindowTransparency,
  MovableTabs,
  BackupSaving,
  HelpBubbles,
  StayOnTop,
  SyntaxColouring,
  ToolsWindow,
  BackgroundColor,
  WindowSize,
  WindowSize640,
  WindowSize800,
  WindowSize1024,
  WebPage,
  EMail,
  About,
  Bold,
  Italic,
  Underline,
};

inline constexpr std::size_t kMainActionCount = std::size_t(MainAction::Underline) + 1;

} // namespace tessera
