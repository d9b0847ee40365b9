#pragma once

#include <QMenu>
#include <functional>

namespace tessera {

class SourceEditor;

// Whether a selection can become a link's text as it stands: no line break
// (every break holds a CR), no quotation mark and no angle bracket.
bool isLinkSafe(const QString& selected);

// The source editor's context menu. Each opening enables only the items
// that make sense for the selection and the undo record.
class EditorContextMenu : public QMenu {
  Q_OBJECT
public:
  using ActionLookup = std::function<QAction*(const QString&)>;

  // `mainActions` finds the main window's Edit-menu commands by layout name;
  // `createLink` and `insertImage` open their windows.
  EditorContextMenu(SourceEditor& editor, ActionLookup mainActions,
                    std::function<void()> createLink, std::function<void()> insertImage,
                    QWidget* parent = nullptr);

  QAction* item(const QString& name) const;
  QMenu* formattingMenu() const { return formatting_; }

  // PopupMenu1Popup: sets the enabled state of the items.
  void updateEnabled();
  // Opens the menu at a point of the editor's viewport.
  void popupAtEditor(const QPoint& viewportPos);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QIcon& icon,
                   std::function<void()> run);

  SourceEditor& editor_;
  QMenu* formatting_ = nullptr;
};

} // namespace tessera
