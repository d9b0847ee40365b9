#include "info/HintGeometry.h"
#include "info/HintPainter.h"

#include <QPainter>
#include <QTest>

using namespace tessera;

Q_DECLARE_METATYPE(tessera::THintDirection)

namespace {

const QRect kDesktop(0, 0, 1280, 1024);
const QSize kBalloon(100, 40);

// 'A' for an arrow pixel, '.' for the strip colour, '?' for anything else.
QStringList picture(const QImage& image, const QColor& arrow, const QColor& icon) {
  QStringList rows;
  for (int y = 0; y < image.height(); ++y) {
    QString row;
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      row += pixel == arrow.rgba()  ? QLatin1Char('A')
             : pixel == icon.rgba() ? QLatin1Char('.')
                                    : QLatin1Char('?');
    }
    rows << row;
  }
  return rows;
}

const QStringList kUnmirrored = {
    "AAAAAAA.", "AAAAAAA.", "AAAAA...", "AAAAAA..", "AAAAAAA.", "AA.AAAAA", "AA..AAAA", ".....AA.",
};

QStringList flipRows(QStringList rows) {
  std::reverse(rows.begin(), rows.end());
  return rows;
}

QStringList flipColumns(QStringList rows) {
  for (QString& row : rows)
    std::reverse(row.begin(), row.end());
  return rows;
}

} // namespace

class HintGeometryTest : public QObject {
  Q_OBJECT

private slots:
  void sizes();
  void directionsFarFromEdges_data();
  void directionsFarFromEdges();
  void desktopCorrections_data();
  void desktopCorrections();
  void cornerFollowsPointer_data();
  void cornerFollowsPointer();
  void arrowBitmapBytes();
  void arrowMirroredPerCorner_data();
  void arrowMirroredPerCorner();
  void stripAndArrowPlaces_data();
  void stripAndArrowPlaces();
  void paintedBalloon_data();
  void paintedBalloon();
};

void HintGeometryTest::sizes() {
  QCOMPARE(balloonSize(QSize(50, 30), hlStHint), QSize(71, 36));
  QCOMPARE(balloonSize(QSize(50, 30), hlClassic), QSize(56, 36));
  // The classic box is 15 pixels narrower for the same text.
  QCOMPARE(balloonSize(QSize(7, 13), hlStHint).width() -
               balloonSize(QSize(7, 13), hlClassic).width(),
           15);
}

void HintGeometryTest::directionsFarFromEdges_data() {
  QTest::addColumn<THintDirection>("direction");
  QTest::addColumn<QPoint>("topLeft");
  const QPoint pointer(600, 500);
  QTest::newRow("up left: bottom-right corner at the pointer") << hdUpLeft << QPoint(500, 460);
  QTest::newRow("up right") << hdUpRight << QPoint(600, 460);
  QTest::newRow("down left: top from the proposal") << hdDownLeft << QPoint(500, 520);
  QTest::newRow("down right: the proposal itself") << hdDownRight << QPoint(600, 520);
}

void HintGeometryTest::directionsFarFromEdges() {
  QFETCH(THintDirection, direction);
  QFETCH(QPoint, topLeft);
  QCOMPARE(balloonPosition(direction, kBalloon, QPoint(600, 500), QPoint(600, 520), kDesktop),
           topLeft);
}

void HintGeometryTest::desktopCorrections_data() {
  QTest::addColumn<THintDirection>("direction");
  QTest::addColumn<QPoint>("pointer");
  QTest::addColumn<QRect>("desktop");
  QTest::addColumn<QPoint>("topLeft");
  QTest::newRow("below the bottom: above the pointer")
      << hdDownRight << QPoint(600, 1000) << kDesktop << QPoint(600, 960);
  QTest::newRow("exactly at the bottom stays")
      << hdDownRight << QPoint(600, 964) << kDesktop << QPoint(600, 984);
  QTest::newRow("past the right edge: left of the pointer")
      << hdUpRight << QPoint(1250, 500) << kDesktop << QPoint(1150, 460);
  QTest::newRow("past the left edge: right of the pointer")
      << hdUpLeft << QPoint(30, 500) << kDesktop << QPoint(30, 460);
  QTest::newRow("above the top: below the pointer")
      << hdUpLeft << QPoint(600, 10) << kDesktop << QPoint(500, 10);
  QTest::newRow("top-left corner: right of and below the pointer")
      << hdUpLeft << QPoint(5, 5) << kDesktop << QPoint(5, 5);
  QTest::newRow("bottom-right corner with down right")
      << hdDownRight << QPoint(1270, 1010) << kDesktop << QPoint(1170, 970);
  QTest::newRow("desktop not at the origin")
      << hdUpLeft << QPoint(1300, 20) << QRect(1280, 0, 1024, 768) << QPoint(1300, 20);
  QTest::newRow("larger than the desktop: last rule wins")
      << hdUpLeft << QPoint(50, 20) << QRect(0, 0, 80, 30) << QPoint(50, 20);
}

void HintGeometryTest::desktopCorrections() {
  QFETCH(THintDirection, direction);
  QFETCH(QPoint, pointer);
  QFETCH(QRect, desktop);
  QFETCH(QPoint, topLeft);
  const QPoint proposed(pointer.x(), pointer.y() + 20);
  QCOMPARE(balloonPosition(direction, kBalloon, pointer, proposed, desktop), topLeft);
}

void HintGeometryTest::cornerFollowsPointer_data() {
  QTest::addColumn<QPoint>("topLeft");
  QTest::addColumn<bool>("stripOnRight");
  QTest::addColumn<bool>("arrowAtBottom");
  // The pointer is at (600, 500).
  QTest::newRow("up left") << QPoint(500, 460) << true << true;
  QTest::newRow("up right") << QPoint(600, 460) << false << true;
  QTest::newRow("down left") << QPoint(500, 520) << true << false;
  QTest::newRow("down right") << QPoint(600, 520) << false << false;
  QTest::newRow("moved to the pointer") << QPoint(600, 500) << false << false;
}

void HintGeometryTest::cornerFollowsPointer() {
  QFETCH(QPoint, topLeft);
  QFETCH(bool, stripOnRight);
  QFETCH(bool, arrowAtBottom);
  const BalloonCorner corner = balloonCorner(QPoint(600, 500), topLeft);
  QCOMPARE(corner.stripOnRight, stripOnRight);
  QCOMPARE(corner.arrowAtBottom, arrowAtBottom);
}

void HintGeometryTest::arrowBitmapBytes() {
  const QImage bitmap = arrowBitmap();
  QCOMPARE(bitmap.size(), QSize(8, 8));
  QCOMPARE(bitmap.depth(), 1);
  const uchar rows[8] = {0x01, 0x01, 0x07, 0x03, 0x01, 0x20, 0x30, 0xF9};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      QCOMPARE(bitmap.pixelIndex(x, y), (rows[y] >> (7 - x)) & 1);
}

void HintGeometryTest::arrowMirroredPerCorner_data() {
  QTest::addColumn<bool>("stripOnRight");
  QTest::addColumn<bool>("arrowAtBottom");
  QTest::addColumn<QStringList>("expected");
  QTest::newRow("left top: unmirrored") << false << false << kUnmirrored;
  QTest::newRow("left bottom: top to bottom") << false << true << flipRows(kUnmirrored);
  QTest::newRow("right top: left to right") << true << false << flipColumns(kUnmirrored);
  QTest::newRow("right bottom: both ways") << true << true << flipRows(flipColumns(kUnmirrored));
}

void HintGeometryTest::arrowMirroredPerCorner() {
  QFETCH(bool, stripOnRight);
  QFETCH(bool, arrowAtBottom);
  QFETCH(QStringList, expected);
  const QColor arrow(10, 20, 30);
  const QColor icon(166, 202, 240);
  const QImage image = arrowImage(arrow, icon, {stripOnRight, arrowAtBottom});
  QCOMPARE(picture(image, arrow, icon), expected);
}

void HintGeometryTest::stripAndArrowPlaces_data() {
  QTest::addColumn<bool>("stripOnRight");
  QTest::addColumn<bool>("arrowAtBottom");
  QTest::addColumn<QRect>("strip");
  QTest::addColumn<QRect>("arrow");
  QTest::addColumn<QPoint>("text");
  // A balloon of 100 by 40.
  QTest::newRow("left top") << false << false << QRect(1, 1, 14, 38) << QRect(3, 3, 8, 8)
                            << QPoint(17, 2);
  QTest::newRow("left bottom") << false << true << QRect(1, 1, 14, 38) << QRect(3, 28, 8, 8)
                               << QPoint(17, 2);
  QTest::newRow("right top") << true << false << QRect(85, 1, 14, 38) << QRect(88, 3, 8, 8)
                             << QPoint(3, 2);
  QTest::newRow("right bottom") << true << true << QRect(85, 1, 14, 38) << QRect(88, 28, 8, 8)
                                << QPoint(3, 2);
}

void HintGeometryTest::stripAndArrowPlaces() {
  QFETCH(bool, stripOnRight);
  QFETCH(bool, arrowAtBottom);
  QFETCH(QRect, strip);
  QFETCH(QRect, arrow);
  QFETCH(QPoint, text);
  QCOMPARE(iconStripRect(kBalloon, stripOnRight), strip);
  QCOMPARE(arrowRect(kBalloon, {stripOnRight, arrowAtBottom}), arrow);
  QCOMPARE(textOrigin(hlStHint, stripOnRight), text);
  QCOMPARE(textOrigin(hlClassic, stripOnRight), QPoint(2, 2));
}

void HintGeometryTest::paintedBalloon_data() {
  QTest::addColumn<int>("look");
  QTest::addColumn<bool>("stripOnRight");
  QTest::addColumn<bool>("arrowAtBottom");
  QTest::newRow("strip right, arrow bottom") << int(hlStHint) << true << true;
  QTest::newRow("strip left, arrow top") << int(hlStHint) << false << false;
  QTest::newRow("classic") << int(hlClassic) << true << true;
}

void HintGeometryTest::paintedBalloon() {
  QFETCH(int, look);
  QFETCH(bool, stripOnRight);
  QFETCH(bool, arrowAtBottom);
  HintSettings settings;
  settings.look = TLook(look);
  settings.borderType = btSolid;
  settings.borderColor = QColor(1, 2, 3);
  settings.arrowColor = QColor(200, 0, 0);
  settings.iconColor = QColor(166, 202, 240);
  settings.hintColor = Qt::white;
  const BalloonCorner corner{stripOnRight, arrowAtBottom};
  QImage image(kBalloon, QImage::Format_ARGB32);
  image.fill(Qt::magenta);
  {
    QPainter painter(&image);
    paintBalloon(painter, kBalloon, settings, QFont(), QString(), corner);
  }
  // Border on all four sides.
  for (const QPoint p : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 39), QPoint(99, 39), QPoint(50, 0)})
    QCOMPARE(image.pixelColor(p), settings.borderColor);
  const QRect strip = iconStripRect(kBalloon, stripOnRight);
  const QPoint stripMiddle(strip.center().x(), 20);
  if (settings.look == hlClassic) {
    QCOMPARE(image.pixelColor(stripMiddle), settings.hintColor);
    return;
  }
  QCOMPARE(image.pixelColor(stripMiddle), settings.iconColor);
  QCOMPARE(image.pixelColor(stripOnRight ? 50 : 20, 20), settings.hintColor);
  // The arrow's tip pixel (top-left of the unmirrored picture) points at the corner.
  const QRect arrow = arrowRect(kBalloon, corner);
  const QPoint tip(stripOnRight ? arrow.right() : arrow.left(),
                   arrowAtBottom ? arrow.bottom() : arrow.top());
  QCOMPARE(image.pixelColor(tip), settings.arrowColor);
}

QTEST_MAIN(HintGeometryTest)
#include "tst_hintgeometry.moc"
