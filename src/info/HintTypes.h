#pragma once

#include <QColor>
#include <QFont>
#include <QString>

namespace tessera {

// Where a balloon stands relative to the mouse pointer.
enum THintDirection { hdUpLeft, hdUpRight, hdDownLeft, hdDownRight };
// A balloon with icon strip and arrow, or a plain box.
enum TLook { hlStHint, hlClassic };
// A one-pixel line in the border colour, or a raised 3D edge.
enum TBorderType { btSolid, btCtl3D };

// The font a hint component starts with.
QFont defaultHintFont();

// Everything that decides a balloon's look and timing, with the values a
// freshly created hint component has.
struct HintSettings {
  QColor arrowColor = Qt::black;
  QColor borderColor = Qt::black;
  TBorderType borderType = btCtl3D;
  QFont font = defaultHintFont();
  QColor fontColor = Qt::black;
  QColor hintColor = Qt::white;
  THintDirection hintDirection = hdUpLeft;
  int hintPauseTime = 1000; // milliseconds
  QColor iconColor = QColor(255, 211, 82);
  TLook look = hlStHint;
  QString separator = QStringLiteral("@");
  bool shadow = true;
};

} // namespace tessera
