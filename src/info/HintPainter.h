#pragma once

#include "info/HintGeometry.h"
#include "info/HintTypes.h"

class QPainter;

namespace tessera {

// Paints a whole balloon of `size`: border, icon strip with its arrow (strip
// look) and the text, with `canvasFont` as the text's base font.
void paintBalloon(QPainter& painter, QSize size, const HintSettings& settings,
                  const QFont& canvasFont, const QString& text, BalloonCorner corner,
                  bool markup = true);

} // namespace tessera
