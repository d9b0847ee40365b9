#pragma once

#include "dialogs/EditorContextMenu.h"

#include <QIcon>
#include <QObject>

class QAction;
class QTimer;

namespace tessera {

class DateTimeWindow;
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
  struct ToolsWindowIcons {
    QIcon shown;
    QIcon hidden;
  };
  // The main window's items and toolbar button these windows answer to.
  struct Actions {
    QAction& toolsWindow;       // F11
    QAction& toolsWindowButton; // ToolButton11
    QAction& transparency;
    QAction& dateTime; // F5
    EditMenuActions edit;
  };

  // Every window is parented to `mainWindow`.
  ElementDialogs(QWidget* mainWindow, SourceEditor& editor, Prompts& prompts,
                 const Actions& actions, ToolsWindowIcons icons);

  ToolsWindow* toolsWindow();
  LinkEditor* linkEditor();
  ImageEditor* imageEditor();
  DateTimeWindow* dateTimeWindow();
  EditorContextMenu* contextMenu();

  // The main window's first activation switches on edge snapping.
  void switchOnSnapping();

public slots:
  void toggleToolsWindow();  // Eszkzksegdablak2Click, F11, ToolButton11
  void toggleTransparency(); // segdablak1Click
  void showDateTime();       // Id1Click
  void showLinkEditor();     // CreateLink1Click
  void showImageEditor();    // InsertImage1Click

signals:
  // The tools window has just been made (it is made once).
  void toolsWindowMade(QWidget* window);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void showToolsWindowIcon(bool shown);

  QWidget* mainWindow_;
  SourceEditor& editor_;
  Prompts& prompts_;
  bool snapping_ = false;
  Actions actions_;
  ToolsWindowIcons icons_;
  ToolsWindow* toolsWindow_ = nullptr;
  LinkEditor* linkEditor_ = nullptr;
  ImageEditor* imageEditor_ = nullptr;
  DateTimeWindow* dateTimeWindow_ = nullptr;
  EditorContextMenu* contextMenu_ = nullptr;
  QTimer* startupTimer_ = nullptr;
};

} // namespace tessera
