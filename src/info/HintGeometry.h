#pragma once

#include "info/HintTypes.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace tessera {

// The balloon's size for a text extent: the strip look adds room for the
// 15-pixel icon strip.
QSize balloonSize(QSize textExtent, TLook look);

// The balloon's top-left corner on the screen. `pointer` is the mouse
// position, `proposed` the spot the hint machinery offers (at the pointer's X,
// just below its image). The balloon is then moved onto `desktop`, each rule
// seeing the result of the one before; one larger than the desktop stays
// where the last rule put it.
QPoint balloonPosition(THintDirection direction, QSize size, QPoint pointer, QPoint proposed,
                       const QRect& desktop);

// Which corner of the balloon points at the mouse pointer: the strip goes on
// the pointer's side, the arrow to the pointer's edge.
struct BalloonCorner {
  bool stripOnRight = false;
  bool arrowAtBottom = false;
  bool operator==(const BalloonCorner&) const = default;
};
BalloonCorner balloonCorner(QPoint pointer, QPoint balloonTopLeft);

// Where the icon strip and the 8x8 arrow stand inside a balloon of `size`.
QRect iconStripRect(QSize size, bool onRight);
QRect arrowRect(QSize size, BalloonCorner corner);
// Where the text starts inside the balloon.
QPoint textOrigin(TLook look, bool stripOnRight);

// The arrow picture, one bit per pixel, leftmost pixel in the highest bit.
QImage arrowBitmap();
// The arrow in colour, 0-bits in `arrowColor`, 1-bits in `iconColor`,
// mirrored so that it points into `corner`.
QImage arrowImage(const QColor& arrowColor, const QColor& iconColor, BalloonCorner corner);

} // namespace tessera
