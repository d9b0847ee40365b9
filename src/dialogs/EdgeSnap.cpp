#include "dialogs/EdgeSnap.h"

#include <cstdlib>

namespace tessera {

namespace {

// One axis: the start and the (exclusive) end of the frame against those of
// the area. The nearer edge wins when both are in reach.
int snapAxis(int start, int length, int areaStart, int areaLength, int distance) {
  const int toStart = std::abs(start - areaStart);
  const int toEnd = std::abs((start + length) - (areaStart + areaLength));
  if (toStart <= distance && toStart <= toEnd)
    return areaStart;
  if (toEnd <= distance)
    return areaStart + areaLength - length;
  return start;
}

} // namespace

QPoint snappedTopLeft(const QRect& frame, const QRect& area, int distance) {
  return {snapAxis(frame.x(), frame.width(), area.x(), area.width(), distance),
          snapAxis(frame.y(), frame.height(), area.y(), area.height(), distance)};
}

} // namespace tessera
