#include "document/DefaultDocument.h"
#include "document/PrintLayout.h"

#include <QTest>

using namespace tessera;

namespace {
// Every character 10 pixels wide, text 20 high: tab stops every 80.
class FixedMeasure : public TextMeasure {
public:
  int width(QStringView text) const override {
    int w = 0;
    for (QChar c : text)
      w += c == QLatin1Char('W') ? 30 : 10;
    return w;
  }
  int height() const override { return 20; }
  int averageCharWidth() const override { return 10; }
};

// Page texts as "x,y:text" lines, one string per page.
QStringList describe(const QList<PrintedPage>& pages) {
  QStringList out;
  for (const PrintedPage& page : pages) {
    QStringList texts;
    for (const PlacedText& t : page.texts)
      texts << QStringLiteral("%1,%2:%3").arg(t.topLeft.x()).arg(t.topLeft.y()).arg(t.text);
    out << texts.join(QLatin1Char('|'));
  }
  return out;
}
} // namespace

class PrintLayoutTest : public QObject {
  Q_OBJECT
private slots:
  void layout_data();
  void layout();
  void defaultDocumentFitsOnePage();
  void longLineIsCutAt4096();
  void pagesFollowEachOther();
  void oversizedCharacterDoesNotHang();
};

void PrintLayoutTest::layout_data() {
  QTest::addColumn<QStringList>("lines");
  QTest::addColumn<QSize>("area");
  QTest::addColumn<QStringList>("pages");

  const QSize a4ish(200, 1000);
  QTest::newRow("empty document: one blank page") << QStringList{} << a4ish << QStringList{""};
  QTest::newRow("lines 22 pixels apart")
      << QStringList{"ab", "cd"} << a4ish << QStringList{"0,0:ab|0,22:cd"};
  QTest::newRow("empty line advances by the character height")
      << QStringList{"ab", "", "cd"} << a4ish << QStringList{"0,0:ab|0,42:cd"};
  QTest::newRow("tab after 3 characters reaches the first stop")
      << QStringList{"abc\tdef"} << a4ish << QStringList{"0,0:abc|80,0:def"};
  QTest::newRow("tab exactly on a stop goes to the next one")
      << QStringList{"abcdefgh\tx"} << a4ish << QStringList{"0,0:abcdefgh|160,0:x"};
  QTest::newRow("leading tabs") << QStringList{"\t\tx"} << a4ish << QStringList{"160,0:x"};
  QTest::newRow("tab past the right edge ends the printed line")
      << QStringList{"abcdefghijklmnop\tx"} << QSize(200, 1000)
      << QStringList{"0,0:abcdefghijklmnop|0,22:x"};
  QTest::newRow("long line breaks at the last character that fits")
      << QStringList{"abcdefghijklmnopqrstuvwxy", "z"} << QSize(100, 1000)
      << QStringList{"0,0:abcdefghij|0,22:klmnopqrst|0,44:uvwxy|0,66:z"};
  QTest::newRow("wide character does not fit and moves on")
      << QStringList{"abcdefghW"} << QSize(100, 1000) << QStringList{"0,0:abcdefgh|0,22:W"};
  QTest::newRow("text after a tab that no longer fits continues on the next line")
      << QStringList{"a\tbcdef"} << QSize(100, 1000) << QStringList{"0,0:a|80,0:bc|0,22:def"};
  QTest::newRow("form feed starts a new page")
      << QStringList{"one\ftwo", "three"} << a4ish << QStringList{"0,0:one", "0,0:two|0,22:three"};
  QTest::newRow("form feed alone: the next line is one row down on the new page")
      << QStringList{"one", "\f", "two"} << a4ish << QStringList{"0,0:one", "0,20:two"};
  // Page 100 high: after line 1 top 22 (<= 100-44), after line 2 top 44
  // (<= 56), after line 3 top 66 > 56: new page.
  QTest::newRow("page ends when the next line would not fit twice")
      << QStringList{"1", "2", "3", "4"} << QSize(200, 100)
      << QStringList{"0,0:1|0,22:2|0,44:3", "0,0:4"};
  QTest::newRow("no blank page after a page that ended exactly")
      << QStringList{"1", "2", "3"} << QSize(200, 100) << QStringList{"0,0:1|0,22:2|0,44:3"};
  QTest::newRow("explicit form feed at the end keeps its page")
      << QStringList{"1", "\f"} << QSize(200, 100) << QStringList{"0,0:1", ""};
  // Empty lines use the bare rule (zero margin), which may leave the top
  // too low for a text: that text opens the next page instead of being cut.
  QTest::newRow("text never runs over the bottom edge")
      << QStringList{"1", "", "", "", "x"} << QSize(200, 100) << QStringList{"0,0:1", "0,0:x"};
}

void PrintLayoutTest::layout() {
  QFETCH(QStringList, lines);
  QFETCH(QSize, area);
  QFETCH(QStringList, pages);
  QCOMPARE(describe(layoutListing(lines, FixedMeasure(), area)), pages);
}

void PrintLayoutTest::defaultDocumentFitsOnePage() {
  QStringList lines = defaultDocument().split(QStringLiteral("\r\n"));
  lines.removeLast(); // after the final break
  QCOMPARE(lines.size(), 12);
  const QList<PrintedPage> pages = layoutListing(lines, FixedMeasure(), QSize(4000, 5000));
  QCOMPARE(pages.size(), 1);
  QCOMPARE(pages[0].texts.size(), 10); // two of the twelve lines are empty
  QCOMPARE(pages[0].texts.first().text, lines.first());
  QCOMPARE(pages[0].texts.last().text, QStringLiteral("</wml>"));
  QCOMPARE(pages[0].texts.last().topLeft, QPoint(0, 9 * 22 + 2 * 20));
}

void PrintLayoutTest::longLineIsCutAt4096() {
  const QString line = QString(4096, QLatin1Char('a')) + QString(904, QLatin1Char('b'));
  const QList<PrintedPage> pages =
      layoutListing({line, QStringLiteral("next")}, FixedMeasure(), QSize(1000, 100000));
  QString printed;
  for (const PlacedText& t : pages[0].texts)
    printed += t.text;
  QCOMPARE(printed, QString(4096, QLatin1Char('a')) + QStringLiteral("next"));
  // 100 characters per printed line: 41 rows, the next line on row 42.
  QCOMPARE(pages[0].texts.last().topLeft, QPoint(0, 41 * 22));
}

void PrintLayoutTest::pagesFollowEachOther() {
  QStringList lines;
  for (int i = 0; i < 100; ++i)
    lines << QString::number(i);
  // 10 lines fit a page of 250: the 10th ends at top 220 > 250-44.
  const QList<PrintedPage> pages = layoutListing(lines, FixedMeasure(), QSize(300, 250));
  QCOMPARE(pages.size(), 10);
  int count = 0;
  for (const PrintedPage& page : pages) {
    QCOMPARE(page.texts.first().topLeft.y(), 0);
    for (const PlacedText& t : page.texts)
      QCOMPARE(t.text, QString::number(count++));
  }
  QCOMPARE(count, 100);
}

void PrintLayoutTest::oversizedCharacterDoesNotHang() {
  const QList<PrintedPage> pages =
      layoutListing({QStringLiteral("WW")}, FixedMeasure(), QSize(20, 1000));
  QCOMPARE(describe(pages), QStringList{QStringLiteral("0,0:W|0,22:W")});
}

QTEST_GUILESS_MAIN(PrintLayoutTest)
#include "tst_printlayout.moc"
