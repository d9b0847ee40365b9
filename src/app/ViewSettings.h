#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>

class QTabBar;

namespace tessera {

class MainWindow;

// The Options and View menus' settings of the main window and its editor:
// word wrap, font size, movable tabs, help bubbles, stay on top, the
// editor's background colour and the fixed window sizes. Nothing is stored
// between runs; every run starts from the same values.
class ViewSettings : public QObject {
  Q_OBJECT
public:
  explicit ViewSettings(MainWindow& window);

  bool tabsMovable() const { return tabsMovable_; }

  // The three sizes of the Window Size menu: the window first returns from
  // maximised or minimised, then its inside (below the menu bar) takes
  // `clientSize`; the top-left corner stays.
  void setClientSize(QSize clientSize);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void setWordWrap(bool on);
  void setFontSize(int points);
  void setHelpBubbles(bool on);
  void setStayOnTop(bool on);
  void chooseBackgroundColor();
  void dropTab(QPoint tabBarPosition);

  MainWindow& window_;
  QTabBar* tabBar_ = nullptr;
  bool tabsMovable_ = true;
  // A tab drag starts once the pointer has moved far enough with a button held.
  bool pressed_ = false;
  bool dragging_ = false;
  QPoint pressPosition_;
};

} // namespace tessera
