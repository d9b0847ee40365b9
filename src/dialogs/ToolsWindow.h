#pragma once

#include <QWidget>

#include <functional>

class QAbstractButton;
class QPushButton;

namespace tessera {

class EditorView;

// The floating tools window: a small palette above the other windows that
// repeats the most used one-click tools. Each button first gives the source
// editor the focus, then runs its tool there, so the user keeps typing.
// Closing it only hides it.
class ToolsWindow : public QWidget {
  Q_OBJECT
public:
  static constexpr int kStartOpacity = 200; // of 255
  static constexpr int kSnapDistance = 10;  // pixels

  ToolsWindow(EditorView& editor, QWidget* mainWindow);

  // Opacity from 0 to 255 (255: opaque).
  int opacity() const { return opacity_; }
  void setOpacity(int opacity);

  // Screen-edge snapping, switched on by the main window's first activation.
  bool snapsToEdges() const { return snapDistance_ > 0; }
  void setSnapDistance(int pixels) { snapDistance_ = pixels; }

  QAbstractButton* button(const QString& name) const;

public slots:
  // Shows the palette without taking the keyboard from the main window.
  void present();

signals:
  // Shown or hidden, by any means: the main window shows it in its icon.
  void visibilityChanged(bool shown);

protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

private:
  QPushButton* addButton(const char* name, const QString& caption, const QString& hint, int row,
                         int column, int span, std::function<void()> run);
  void focusEditor();

  EditorView& editor_;
  int opacity_ = 255;
  int snapDistance_ = 0;
  bool snapping_ = false;
  bool placed_ = false;
};

} // namespace tessera
