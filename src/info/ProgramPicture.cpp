#include "info/ProgramPicture.h"

#include <QPainter>
#include <QPainterPath>

namespace tessera {

namespace {

void drawPicture(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  // The handset.
  QPainterPath body;
  body.addRoundedRect(QRectF(7.5, 1.5, 17, 29), 3.5, 3.5);
  p.fillPath(body, QColor(52, 64, 84));
  p.setPen(QPen(QColor(20, 26, 36), 1));
  p.drawPath(body);
  // Aerial.
  p.fillRect(QRectF(20, 0, 2, 3), QColor(20, 26, 36));
  // The screen with a few lines of markup.
  const QRectF screen(10, 5, 12, 11);
  p.fillRect(screen, QColor(178, 214, 120));
  p.setPen(QPen(QColor(40, 70, 30), 1));
  p.setRenderHint(QPainter::Antialiasing, false);
  p.drawLine(11, 7, 16, 7);
  p.drawLine(13, 9, 20, 9);
  p.drawLine(13, 11, 18, 11);
  p.drawLine(11, 13, 17, 13);
  p.setRenderHint(QPainter::Antialiasing);
  // Keypad.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(210, 216, 226));
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column)
      p.drawEllipse(QRectF(11 + column * 4, 19 + row * 3.5, 2.6, 2.2));
}

} // namespace

ProgramPicture::ProgramPicture(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Image1"));
  setFixedSize(32, 32);
  setAttribute(Qt::WA_TranslucentBackground);
}

QImage ProgramPicture::image() {
  QImage picture(32, 32, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  drawPicture(painter);
  return picture;
}

void ProgramPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  drawPicture(painter);
}

} // namespace tessera
