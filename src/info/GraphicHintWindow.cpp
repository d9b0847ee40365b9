#include "info/GraphicHintWindow.h"

#include "info/HintPainter.h"
#include "info/HintText.h"
#include "info/StHint.h"

#include <QApplication>
#include <QMainWindow>
#include <QPainter>

namespace tessera {

TGraphicHintWindow::TGraphicHintWindow(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput),
      settings_(FindStHint()) {
  setObjectName(QStringLiteral("GraphicHintWindow"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_OpaquePaintEvent);
  const HintSettings current = settings();
  canvasFont_ = current.font;
  if (!current.shadow)
    setWindowFlag(Qt::NoDropShadowWindowHint);
}

TStHint* TGraphicHintWindow::FindStHint() {
  // The main window is the first top-level QMainWindow; the program has one.
  const QWidgetList windows = QApplication::topLevelWidgets();
  for (QWidget* window : windows) {
    if (!qobject_cast<QMainWindow*>(window))
      continue;
    if (auto* hint = window->findChild<TStHint*>(QString(), Qt::FindDirectChildrenOnly))
      return hint;
  }
  return nullptr;
}

HintSettings TGraphicHintWindow::settings() const {
  return settings_ ? settings_->settings() : HintSettings{};
}

void TGraphicHintWindow::activateHint(const QString& hint, QPoint proposed, QPoint pointer,
                                      const QRect& desktop, bool plain) {
  const HintSettings current = settings();
  plain_ = plain;
  text_ = plain ? hint : applyHintSeparator(hint, current.separator);
  const QSize extent = DrawHintText(nullptr, canvasFont_, QPoint(0, 0), text_, !plain);
  const QSize size = balloonSize(extent, current.look);
  const QPoint topLeft = balloonPosition(current.hintDirection, size, pointer, proposed, desktop);
  corner_ = balloonCorner(pointer, topLeft);
  const bool wasShown = isVisible();
  setGeometry(QRect(topLeft, size));
  show();
  if (wasShown)
    raise(); // a fresh tool-tip window opens on top by itself
  update();
}

void TGraphicHintWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintBalloon(painter, size(), settings(), canvasFont_, text_, corner_, !plain_);
}

} // namespace tessera
