#include "info/HintText.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

using tessera::applyHintSeparator;
using tessera::DrawHintText;

namespace {

QFont hintFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(12);
  return font;
}

// Width of `text` laid out one character at a time in `font`.
int advance(const QString& text, bool bold = false) {
  QFont font = hintFont();
  font.setBold(bold);
  const QFontMetrics metrics(font);
  int width = 0;
  for (const QChar c : text)
    width += metrics.horizontalAdvance(c);
  return width;
}

int lineHeight() { return QFontMetrics(hintFont()).height(); }

QSize measure(const QString& text, QPoint origin = {}) {
  return DrawHintText(nullptr, hintFont(), origin, text);
}

} // namespace

class HintTextTest : public QObject {
  Q_OBJECT

private slots:
  void separator_data();
  void separator();
  void twoWordsOnTwoLines();
  void boldWordOnOneLine();
  void unknownTagVanishes();
  void counters_data();
  void counters();
  void onlyCarriageReturnBreaks_data();
  void onlyCarriageReturnBreaks();
  void unterminatedBracket_data();
  void unterminatedBracket();
  void manyUnterminatedBracketsStayFast();
  void originShiftsExtent();
  void penNeverMovesBack();
  void drawingMatchesMeasuring();
};

void HintTextTest::separator_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("separator");
  QTest::addColumn<QString>("expected");
  QTest::newRow("two words") << "Save@As"
                             << "@"
                             << "Save\rAs";
  QTest::newRow("every occurrence") << "a@b@@c"
                                    << "@"
                                    << "a\rb\r\rc";
  QTest::newRow("longer separator") << "a||b"
                                    << "||"
                                    << "a\rb";
  QTest::newRow("empty separator splits nothing") << "a@b"
                                                  << ""
                                                  << "a@b";
  QTest::newRow("no separator in text") << "plain"
                                        << "@"
                                        << "plain";
}

void HintTextTest::separator() {
  QFETCH(QString, text);
  QFETCH(QString, separator);
  QFETCH(QString, expected);
  QCOMPARE(applyHintSeparator(text, separator), expected);
}

// A character the toolkit measures as narrower than nothing (U+FFFC) does
// not pull the following text, or the extent, to the left.
void HintTextTest::penNeverMovesBack() {
  const QString object(QChar(0xFFFC));
  QVERIFY(measure(object, QPoint(3, 5)).width() >= 3);
  QCOMPARE(measure(object + QStringLiteral("ab")).width(), advance(QStringLiteral("ab")));
}

void HintTextTest::twoWordsOnTwoLines() {
  const QSize extent = measure(applyHintSeparator(QStringLiteral("Insertion@OK"), "@"));
  QCOMPARE(extent.width(), advance(QStringLiteral("Insertion")));
  QCOMPARE(extent.height(), 2 * lineHeight());
  // The wider word decides, whichever line it is on.
  QCOMPARE(measure(QStringLiteral("OK\rInsertion")).width(), advance(QStringLiteral("Insertion")));
}

void HintTextTest::boldWordOnOneLine() {
  const QSize extent = measure(QStringLiteral("a <b>bold</B> word"));
  QCOMPARE(extent.width(), advance(QStringLiteral("a ")) + advance(QStringLiteral("bold"), true) +
                               advance(QStringLiteral(" word")));
  QCOMPARE(extent.height(), lineHeight());
}

void HintTextTest::unknownTagVanishes() {
  const QString hint = QStringLiteral(
      "The user may place texts that will only be legible in the source code of the WAP "
      "page.<br>They facilitate orientation in the source code, and they are not shown in the "
      "output.");
  QString joined = hint;
  joined.remove(QStringLiteral("<br>"));
  QVERIFY(joined.contains(QStringLiteral("page.They")));
  const QSize extent = measure(hint);
  QCOMPARE(extent.width(), advance(joined));
  QCOMPARE(extent.height(), lineHeight());
}

void HintTextTest::counters_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("plain");
  QTest::addColumn<QString>("bold");
  QTest::newRow("nested bold stays bold until both close") << "<b><B>x</b>y</b>z"
                                                           << "z"
                                                           << "xy";
  QTest::newRow("close without open does not go below zero") << "</b><b>x"
                                                             << ""
                                                             << "x";
  QTest::newRow("italic and underline do not make bold") << "<i>a</i><u>b</u>"
                                                         << "ab"
                                                         << "";
  QTest::newRow("tags follow each other") << "<b></b><b>q"
                                          << ""
                                          << "q";
}

void HintTextTest::counters() {
  QFETCH(QString, text);
  QFETCH(QString, plain);
  QFETCH(QString, bold);
  QCOMPARE(measure(text).width(), advance(plain) + advance(bold, true));
}

void HintTextTest::onlyCarriageReturnBreaks_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("lines");
  QTest::newRow("one line") << "abc" << 1;
  QTest::newRow("line feed is a letter") << "a\nb" << 1;
  QTest::newRow("CR LF is one break") << "a\r\nb" << 2;
  QTest::newRow("trailing CR adds an empty line") << "a\r" << 2;
  QTest::newRow("leading CR moves a full line down") << "\ra" << 2;
  QTest::newRow("three lines") << "a\rb\rc" << 3;
  QTest::newRow("empty text") << "" << 0;
}

void HintTextTest::onlyCarriageReturnBreaks() {
  QFETCH(QString, text);
  QFETCH(int, lines);
  QCOMPARE(measure(text).height(), lines * lineHeight());
}

void HintTextTest::unterminatedBracket_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("shown");
  QTest::newRow("lone bracket") << "a<b"
                                << "a<b";
  QTest::newRow("bracket at the end") << "ab<"
                                      << "ab<";
  QTest::newRow("after a closed tag") << "<u>x</u>y<z"
                                      << "xy<z";
  QTest::newRow("closing bracket only before it") << "a>b<c"
                                                  << "a>b<c";
}

void HintTextTest::unterminatedBracket() {
  QFETCH(QString, text);
  QFETCH(QString, shown);
  const QSize extent = measure(text);
  QCOMPARE(extent.width(), advance(shown));
  QCOMPARE(extent.height(), lineHeight());
}

void HintTextTest::manyUnterminatedBracketsStayFast() {
  // Each "<" without a later ">" is an ordinary character. (How long the walk
  // takes on such a text is a figure of the benchmark program.)
  const QString text = QString(200000, QLatin1Char('<'));
  const QSize extent = measure(text);
  QCOMPARE(extent.width(), 200000 * advance(QStringLiteral("<")));
  QCOMPARE(extent.height(), lineHeight());
}

void HintTextTest::originShiftsExtent() {
  const QSize atZero = measure(QStringLiteral("a\rbc"));
  const QSize shifted = measure(QStringLiteral("a\rbc"), QPoint(17, 2));
  QCOMPARE(shifted, atZero + QSize(17, 2));
}

void HintTextTest::drawingMatchesMeasuring() {
  const QString text = QStringLiteral("<b>W</b>W\rW");
  QImage image(100, 60, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QSize drawn;
  {
    QPainter painter(&image);
    painter.setPen(Qt::black);
    drawn = DrawHintText(&painter, hintFont(), QPoint(5, 5), text);
  }
  QCOMPARE(drawn, measure(text, QPoint(5, 5)));
  // Ink on both lines, none right of or below the extent.
  const auto inkIn = [&](const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (qGray(image.pixel(x, y)) < 128)
          return true;
    return false;
  };
  const int h = lineHeight();
  QVERIFY(inkIn(QRect(5, 5, drawn.width() - 5, h)));
  QVERIFY(inkIn(QRect(5, 5 + h, drawn.width() - 5, h)));
  QVERIFY(!inkIn(QRect(drawn.width() + 1, 0, 100 - drawn.width() - 1, 60)));
  QVERIFY(!inkIn(QRect(0, drawn.height() + 1, 100, 60 - drawn.height() - 1)));
}

QTEST_MAIN(HintTextTest)
#include "tst_hinttext.moc"
