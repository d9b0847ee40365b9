#include "info/HintGeometry.h"

#include <array>

namespace tessera {

QSize balloonSize(QSize textExtent, TLook look) {
  const int extraWidth = look == hlStHint ? 21 : 6;
  return {textExtent.width() + extraWidth, textExtent.height() + 6};
}

QPoint balloonPosition(THintDirection direction, QSize size, QPoint pointer, QPoint proposed,
                       const QRect& desktop) {
  const int width = size.width();
  const int height = size.height();
  int left = proposed.x();
  int top = proposed.y();
  switch (direction) {
  case hdUpLeft:
    left = pointer.x() - width;
    top = pointer.y() - height;
    break;
  case hdUpRight:
    left = pointer.x();
    top = pointer.y() - height;
    break;
  case hdDownLeft: left = pointer.x() - width; break;
  case hdDownRight: break;
  }
  const int desktopRight = desktop.x() + desktop.width();
  const int desktopBottom = desktop.y() + desktop.height();
  if (top + height > desktopBottom)
    top = pointer.y() - height;
  if (left + width > desktopRight)
    left = pointer.x() - width;
  if (left < desktop.x())
    left = pointer.x();
  if (top < desktop.y())
    top = pointer.y();
  return {left, top};
}

BalloonCorner balloonCorner(QPoint pointer, QPoint balloonTopLeft) {
  return {pointer.x() > balloonTopLeft.x(), pointer.y() > balloonTopLeft.y()};
}

QRect iconStripRect(QSize size, bool onRight) {
  const int left = onRight ? size.width() - 15 : 1;
  return {left, 1, 14, size.height() - 2};
}

QRect arrowRect(QSize size, BalloonCorner corner) {
  const int left = corner.stripOnRight ? size.width() - 12 : 3;
  const int top = corner.arrowAtBottom ? size.height() - 12 : 3;
  return {left, top, 8, 8};
}

QPoint textOrigin(TLook look, bool stripOnRight) {
  if (look == hlClassic)
    return {2, 2};
  return stripOnRight ? QPoint(3, 2) : QPoint(17, 2);
}

QImage arrowBitmap() {
  static constexpr std::array<uchar, 8> rows = {0x01, 0x01, 0x07, 0x03, 0x01, 0x20, 0x30, 0xF9};
  QImage bitmap(8, 8, QImage::Format_Mono); // Mono keeps the highest bit leftmost
  for (int y = 0; y < 8; ++y)
    *bitmap.scanLine(y) = rows[size_t(y)];
  bitmap.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  return bitmap;
}

QImage arrowImage(const QColor& arrowColor, const QColor& iconColor, BalloonCorner corner) {
  QImage bitmap = arrowBitmap();
  bitmap.setColorTable({arrowColor.rgba(), iconColor.rgba()});
  return bitmap.convertToFormat(QImage::Format_ARGB32)
      .mirrored(corner.stripOnRight, corner.arrowAtBottom);
}

} // namespace tessera
