#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>

#include <functional>

class QHelpEvent;
class QWidget;

namespace tessera {

class TGraphicHintWindow;

// Replaces the toolkit's tool tips for the whole application: watches the
// pointer, waits the hint delay, asks the control under the pointer for its
// hint and shows it in the balloon window.
class BalloonHints : public QObject {
  Q_OBJECT
public:
  // Installs the application-wide event filter once and returns it.
  static BalloonHints& install();
  // nullptr until installed.
  static BalloonHints* instance();
  // Takes the balloon window with it: a window without a parent widget would
  // otherwise outlive the application.
  ~BalloonHints() override;

  // How long the pointer must rest on a control before its hint shows.
  void setHintPause(int milliseconds) { pause_ = milliseconds; }
  int hintPause() const { return pause_; }
  // How long a balloon stays up at most.
  void setHidePause(int milliseconds);

  // Asks the control at `global` (screen coordinates) for its hint at once,
  // as when the delay has run out; shows it or hides the balloon.
  void showHintAt(QPoint global);
  void hideHint();

  // The balloon window, created when the first hint is shown; nullptr before.
  TGraphicHintWindow* window() const { return window_; }
  bool isShowingHint() const;

  // A window or control whose hints are switched off shows no balloons, nor
  // does anything inside it; its hint texts still reach the status line.
  static void setShowHint(QWidget* widget, bool on);
  static bool showsHint(const QWidget* widget);

  // A hint that depends on where over a control the pointer rests, shown as
  // plain text (no markup): the text and the area, in the control's
  // coordinates, over which it stays. An empty text falls back to the
  // control's own hint.
  struct PlainHint {
    QString text;
    QRect area;
  };
  using HintSource = std::function<PlainHint(QPoint)>;
  void setHintSource(QWidget* widget, HintSource source);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  explicit BalloonHints(QObject* parent);
  bool answerHelpEvent(QWidget* widget, QHelpEvent* help);
  void pointerMoved(QPoint global);
  void suppressUnder(QPoint global);

  int pause_ = 500;
  int hidePause_ = 2500;
  QTimer showTimer_;
  QTimer hideTimer_;
  QPoint pointer_;
  bool dispatching_ = false;
  bool answered_ = false;
  TGraphicHintWindow* window_ = nullptr;
  QPointer<QWidget> owner_;
  QRect hintArea_;     // while the pointer stays here the balloon stays
  QRect suppressArea_; // no new balloon until the pointer leaves this
  QHash<const QWidget*, HintSource> sources_;
};

} // namespace tessera
