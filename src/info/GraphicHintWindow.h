#pragma once

#include "info/HintGeometry.h"
#include "info/HintTypes.h"

#include <QPointer>
#include <QWidget>

namespace tessera {

class TStHint;

// The balloon itself: a borderless pop-up that sizes, places and paints
// itself from the main window's hint component.
class TGraphicHintWindow : public QWidget {
  Q_OBJECT
public:
  explicit TGraphicHintWindow(QWidget* parent = nullptr);

  // The first hint component owned by the application's main window, or
  // nullptr when it has none.
  static TStHint* FindStHint();

  // Shows `hint` for a pointer at `pointer` (screen coordinates); `proposed`
  // is where the hint machinery would put a plain tool tip, `desktop` the
  // screen the balloon must stay on. Does not take the focus.
  // A plain hint (no markup, no separators) shows every character as written.
  void activateHint(const QString& hint, QPoint proposed, QPoint pointer, const QRect& desktop,
                    bool plain = false);

  // The text after the separators became line breaks.
  QString text() const { return text_; }
  BalloonCorner corner() const { return corner_; }
  // The settings in force: the component's, or the creation defaults when
  // the main window carries none.
  HintSettings settings() const;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QPointer<TStHint> settings_;
  QFont canvasFont_; // taken once: later font changes show in a new window only
  QString text_;
  bool plain_ = false;
  BalloonCorner corner_;
};

} // namespace tessera
