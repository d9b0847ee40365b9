#pragma once

#include <QIcon>
#include <QObject>
#include <functional>

class QAction;
class QTimer;

namespace tessera {

class DateTimeWindow;
class EditorContextMenu;
class ImageEditor;
class LinkEditor;
class Prompts;
class SourceEditor;
class ToolsWindow;

// The element windows of the main window: the tools window, the Link
// Editor, the image editor, Date and Time and the source editor's context
// menu. Each window is made once, the first time it is needed (the tools
// window by the start-up timer), and then kept, so the main window shows
// sooner; the accessors make it if need be. It also runs the main window's commands about
// them: Date and Time (F5), the tools window's visibility (F11) and
// transparency, and the start-up timer that shows the tools window.
class ElementDialogs : public QObject {
  Q_OBJECT
public:
  using ActionLookup = std::function<QAction*(const QString&)>;
  struct ToolsWindowIcons {
    QIcon shown;
    QIcon hidden;
  };

  // `actions` finds the main window's menu items and toolbar buttons by
  // layout name; every window is parented to `mainWindow`.
  ElementDialogs(QWidget* mainWindow, SourceEditor& editor, Prompts& prompts, ActionLookup actions,
                 ToolsWindowIcons icons);

  ToolsWindow* toolsWindow();
  LinkEditor* linkEditor();
  ImageEditor* imageEditor();
  DateTimeWindow* dateTimeWindow();
  EditorContextMenu* contextMenu();
  QTimer* startupTimer() const { return startupTimer_; }

  // The main window's first activation switches on edge snapping.
  void switchOnSnapping();

public slots:
  void toggleToolsWindow();  // Eszkzksegdablak2Click, F11, ToolButton11
  void toggleTransparency(); // segdablak1Click
  void showDateTime();       // Id1Click
  void showLinkEditor();     // CreateLink1Click
  void showImageEditor();    // InsertImage1Click

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void showToolsWindowIcon(bool shown);

  QWidget* mainWindow_;
  SourceEditor& editor_;
  Prompts& prompts_;
  bool snapping_ = false;
  ActionLookup actions_;
  ToolsWindowIcons icons_;
  ToolsWindow* toolsWindow_ = nullptr;
  LinkEditor* linkEditor_ = nullptr;
  ImageEditor* imageEditor_ = nullptr;
  DateTimeWindow* dateTimeWindow_ = nullptr;
  EditorContextMenu* contextMenu_ = nullptr;
  QTimer* startupTimer_ = nullptr;
};

} // namespace tessera
