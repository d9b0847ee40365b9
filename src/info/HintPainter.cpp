#include "info/HintPainter.h"

#include "info/HintText.h"

#include <QPainter>
#include <QPalette>

namespace tessera {

namespace {

void paintBorder(QPainter& painter, QSize size, const HintSettings& settings) {
  const QRect whole(QPoint(0, 0), size);
  painter.fillRect(whole, settings.hintColor);
  if (settings.borderType == btSolid) {
    painter.setPen(settings.borderColor);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(whole.adjusted(0, 0, -1, -1));
    return;
  }
  // A raised outer edge: light above and left, dark below and right.
  const QPalette palette;
  const int right = size.width() - 1;
  const int bottom = size.height() - 1;
  painter.setPen(palette.color(QPalette::Light));
  painter.drawLine(0, 0, right - 1, 0);
  painter.drawLine(0, 0, 0, bottom - 1);
  painter.setPen(palette.color(QPalette::Shadow));
  painter.drawLine(0, bottom, right, bottom);
  painter.drawLine(right, 0, right, bottom);
}

} // namespace

void paintBalloon(QPainter& painter, QSize size, const HintSettings& settings,
                  const QFont& canvasFont, const QString& text, BalloonCorner corner, bool markup) {
  paintBorder(painter, size, settings);
  if (settings.look == hlStHint) {
    painter.fillRect(iconStripRect(size, corner.stripOnRight), settings.iconColor);
    painter.drawImage(arrowRect(size, corner).topLeft(),
                      arrowImage(settings.arrowColor, settings.iconColor, corner));
  }
  painter.setPen(settings.fontColor);
  painter.setBackgroundMode(Qt::TransparentMode);
  DrawHintText(&painter, canvasFont, textOrigin(settings.look, corner.stripOnRight), text, markup);
}

} // namespace tessera
