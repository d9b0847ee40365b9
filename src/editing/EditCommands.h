#pragma once

#include <QObject>

namespace tessera {

class SourceEditor;

// The Edit menu's clipboard, undo, delete and selection commands and the
// two case commands. They always act on the source editor; Copy, Cut and
// Paste only while it has the keyboard focus, so that a toolbar button or
// shortcut pressed while a tool field is focused leaves both alone.
class EditCommands : public QObject {
  Q_OBJECT
public:
  explicit EditCommands(SourceEditor& editor, QObject* parent = nullptr);

  void undo();
  void copy();
  void cut();
  void paste();
  void deleteSelection();
  void selectAll();
  void upperCase();
  void lowerCase();

private:
  bool editorFocused() const;
  void replaceSelectionConverted(QString (*convert)(QString));

  SourceEditor& editor_;
};

} // namespace tessera
