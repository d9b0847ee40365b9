// One-bit pictures for the phones: each dithering worked out by hand on a
// tiny picture, and the WBMP file's header and rows.
#include "deck/WbmpConversion.h"

#include <QBuffer>
#include <QImageReader>
#include <QTest>

using namespace tessera;

namespace {

QImage greys(int width, const QList<int>& levels) {
  const int height = int(levels.size()) / width;
  QImage image(width, height, QImage::Format_RGB32);
  for (int i = 0; i < levels.size(); ++i)
    image.setPixel(i % width, i / width, qRgb(levels[i], levels[i], levels[i]));
  return image;
}

// Rows as strings of '1' (white) and '0' (black).
QStringList rows(const QImage& image) {
  QStringList result;
  for (int y = 0; y < image.height(); ++y) {
    QString row;
    for (int x = 0; x < image.width(); ++x)
      row += image.pixelIndex(x, y) ? u'1' : u'0';
    result << row;
  }
  return result;
}

} // namespace

class TestWbmp : public QObject {
  Q_OBJECT

private slots:
  void dithers_data() {
    QTest::addColumn<QImage>("source");
    QTest::addColumn<int>("dithering");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<QStringList>("expected");
    const QImage steps = greys(3, {0, 127, 128, 255, 200, 10});
    QTest::newRow("threshold 128")
        << steps << int(Dithering::Threshold) << 128 << QStringList{"001", "110"};
    QTest::newRow("threshold 201")
        << steps << int(Dithering::Threshold) << 201 << QStringList{"000", "100"};
    // Mid grey against the Bayer matrix {0 8 2 10 / 12 4 14 6 / 3 11 1 9 /
    // 15 7 13 5}: white where the cell is 7 or less, a checkerboard.
    QTest::newRow("ordered mid grey") << greys(4, QList<int>(16, 128)) << int(Dithering::Ordered)
                                      << 128 << QStringList{"1010", "0101", "1010", "0101"};
    QTest::newRow("ordered white and black stay")
        << greys(2, {255, 0, 0, 255}) << int(Dithering::Ordered) << 128 << QStringList{"10", "01"};
    // 128 white (error -127); next 128 - 55 = 73 black (error 73);
    // next 128 + 31 = 159 white (error -96); last 128 - 42 = 86 black.
    QTest::newRow("diffusion along a row")
        << greys(4, {128, 128, 128, 128}) << int(Dithering::Diffusion) << 128
        << QStringList{"1010"};
    // 100 black, error 100: right 143, below 131, below right 106. 143
    // white, error -112: below left 131 - 21 = 110, below 106 - 35 = 71.
    // 110 black, error 110: right 71 + 48 = 119 black.
    QTest::newRow("diffusion down and across")
        << greys(2, {100, 100, 100, 100}) << int(Dithering::Diffusion) << 128
        << QStringList{"01", "00"};
    QImage clear(2, 1, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    QTest::newRow("transparent is white")
        << clear << int(Dithering::Threshold) << 128 << QStringList{"11"};
  }
  void dithers() {
    QFETCH(QImage, source);
    QFETCH(int, dithering);
    QFETCH(int, threshold);
    QFETCH(QStringList, expected);
    const QImage oneBit = toOneBit(source, Dithering(dithering), threshold);
    QCOMPARE(oneBit.format(), QImage::Format_Mono);
    QCOMPARE(rows(oneBit), expected);
  }

  void writesWbmp() {
    const QImage oneBit = toOneBit(greys(10, {0,   255, 0,   255, 0,   255, 0,   255, 0,   255, //
                                              255, 255, 255, 255, 255, 255, 255, 255, 255, 0}),
                                   Dithering::Threshold);
    const QByteArray bytes = wbmpBytes(oneBit);
    // Type 0, fixed header 0, width 10, height 2; each row padded to whole
    // bytes, white 1: 0101010101 -> 55 40, 1111111110 -> FF 80.
    QCOMPARE(bytes.toHex(' '), QByteArray("00 00 0a 02 55 40 ff 80"));
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "wbmp");
    const QImage back = reader.read();
    QCOMPARE(back.size(), QSize(10, 2));
    QCOMPARE(rows(back.convertToFormat(QImage::Format_Mono)), rows(oneBit));
  }

  void largeSizesUseMultiByteNumbers() {
    const QByteArray bytes =
        wbmpBytes(toOneBit(greys(200, QList<int>(200, 255)), Dithering::Ordered));
    // 200 = 1 * 128 + 72: 81 48; one row of 25 white bytes.
    QCOMPARE(bytes.left(5).toHex(' '), QByteArray("00 00 81 48 01"));
    QCOMPARE(bytes.mid(5), QByteArray(25, '\xff'));
  }

  void namesDithering() {
    QCOMPARE(ditheringNamed("ordered"), std::optional(Dithering::Ordered));
    QCOMPARE(ditheringNamed("diffusion"), std::optional(Dithering::Diffusion));
    QCOMPARE(ditheringNamed("threshold"), std::optional(Dithering::Threshold));
    QVERIFY(!ditheringNamed("Floyd"));
  }
};

QTEST_MAIN(TestWbmp)
#include "tst_wbmp.moc"
