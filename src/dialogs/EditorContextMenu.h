#pragma once

#include <QMenu>
#include <functional>

namespace tessera {

class SourceEditor;

// The main window's Edit commands that the menu's items of the same name run.
struct EditMenuActions {
  QAction& undo;
  QAction& cut;
  QAction& copy;
  QAction& paste;
  QAction& deleteSelection;
  QAction& selectAll;
};

// Whether a selection can become a link's text as it stands: no line break
// (every break holds a CR), no quotation mark and no angle bracket.
bool isLinkSafe(const QString& selected);

// The source editor's context menu. Each opening enables only the items
// that make sense for the selection and the undo record.
class EditorContextMenu : public QMenu {
  Q_OBJECT
public:
  // `createLink` and `insertImage` open their windows.
  EditorContextMenu(SourceEditor& editor, const EditMenuActions& mainActions,
                    std::function<void()> createLink, std::function<void()> insertImage,
                    QWidget* parent = nullptr);

  // An item by its layout name ("Undo1", "Formatting1"), for tests.
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
  QAction* undo_ = nullptr;
  QAction* createLink_ = nullptr;
  QAction* insertImage_ = nullptr;
  // Enabled only while something is selected.
  QList<QAction*> selectionItems_;
};

} // namespace tessera
