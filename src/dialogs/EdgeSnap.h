#pragma once

#include <QPoint>
#include <QRect>

namespace tessera {

// Where a window whose frame is `frame` goes when it is moved within
// `distance` pixels of an edge of the work area `area`: flush against that
// edge. Axes snap independently; far from every edge it stays put.
QPoint snappedTopLeft(const QRect& frame, const QRect& area, int distance);

} // namespace tessera
