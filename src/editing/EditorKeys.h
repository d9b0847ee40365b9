#pragma once

#include <QObject>

class QKeyEvent;

namespace tessera {

class SourceEditor;

// The source editor's own keys, on top of ordinary typing:
//  - every key press first refreshes the status line, so while a key is
//    held it shows the caret from before the key;
//  - "<" gives "<>" with the caret between the brackets;
//  - Tab and Shift+Tab give eight blanks and keep the focus;
//  - Shift+Enter puts "<br/>" before the new line;
//  - Ctrl+Space puts "&nbsp;" before the blank.
// The helper texts are program edits (not undoable); the new line and the
// blank that follow them are ordinary typing.
class EditorKeys : public QObject {
  Q_OBJECT
public:
  explicit EditorKeys(SourceEditor& editor, QObject* parent = nullptr);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // Returns true when the key was used up.
  bool keyPress(QKeyEvent* event);

  SourceEditor& editor_;
};

} // namespace tessera
