// Every conversion between kinds of place (wml/Positions): character
// columns and UTF-16 offsets, the two counts of a line break, UTF-8 bytes
// and lines; and the parser's lines agreeing with them whatever breaks a
// file uses.
#include "wml/ParsedDeck.h"
#include "wml/Positions.h"

#include <QTest>

#include <libxml/tree.h>

using namespace tessera::wml;

namespace QTest {
template <> char* toString(const LineColumn& at) {
  return qstrdup(QByteArray::number(at.line) + ':' + QByteArray::number(at.column));
}
} // namespace QTest

namespace {
// U+1F600, two UTF-16 units, four UTF-8 bytes, one column.
const QString kSmile = QString::fromUtf8("\xf0\x9f\x98\x80");
const QChar kHigh = kSmile.at(0);
const QChar kLow = kSmile.at(1);
} // namespace

class PositionsTest : public QObject {
  Q_OBJECT
private slots:
  void offsetOfColumn_data();
  void offsetOfColumn();
  void columnOfOffset_data();
  void columnOfOffset();
  void breakCounts_data();
  void breakCounts();
  void utf8Lines_data();
  void utf8Lines();
  void parserLinesAgree_data();
  void parserLinesAgree();
};

void PositionsTest::offsetOfColumn_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<int>("column");
  QTest::addColumn<int>("offset");
  QTest::newRow("first") << "abc" << 1 << 0;
  QTest::newRow("third") << "abc" << 3 << 2;
  QTest::newRow("just past the end") << "abc" << 4 << 3;
  QTest::newRow("far past the end") << "abc" << 9 << 3;
  QTest::newRow("column 0") << "abc" << 0 << 0;
  QTest::newRow("negative column") << "abc" << -4 << 0;
  QTest::newRow("empty line") << "" << 3 << 0;
  QTest::newRow("the pair itself") << kSmile + "x" << 1 << 0;
  QTest::newRow("after a surrogate pair") << kSmile + "x" << 2 << 2;
  QTest::newRow("after two pairs") << kSmile + kSmile + "x" << 3 << 4;
  QTest::newRow("past a line ending in a pair") << "a" + kSmile << 5 << 3;
  QTest::newRow("lone high surrogate counts one") << QString(kHigh) + "xy" << 2 << 1;
  QTest::newRow("lone low surrogate counts one") << QString(kLow) + "xy" << 3 << 2;
  QTest::newRow("high surrogate at the end") << "x" + QString(kHigh) << 3 << 2;
}

void PositionsTest::offsetOfColumn() {
  QFETCH(QString, line);
  QFETCH(int, column);
  QFETCH(int, offset);
  QCOMPARE(utf16OffsetOfColumn(line, column), offset);
}

void PositionsTest::columnOfOffset_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<int>("offset");
  QTest::addColumn<int>("column");
  QTest::newRow("start") << "abc" << 0 << 1;
  QTest::newRow("last character") << "abc" << 2 << 3;
  QTest::newRow("line end") << "abc" << 3 << 4;
  QTest::newRow("past the end clamps") << "abc" << 40 << 4;
  QTest::newRow("negative clamps") << "abc" << -2 << 1;
  QTest::newRow("empty line") << "" << 0 << 1;
  QTest::newRow("before a pair") << "a" + kSmile + "b" << 1 << 2;
  QTest::newRow("inside a pair is the pair") << "a" + kSmile + "b" << 2 << 2;
  QTest::newRow("after a pair") << "a" + kSmile + "b" << 3 << 3;
  QTest::newRow("end after a pair") << "a" + kSmile << 3 << 3;
  QTest::newRow("two pairs") << kSmile + kSmile + "b" << 4 << 3;
  QTest::newRow("lone high surrogate counts one") << QString(kHigh) + "xy" << 2 << 3;
  QTest::newRow("lone low surrogate counts one") << "x" + QString(kLow) + "y" << 2 << 3;
}

void PositionsTest::columnOfOffset() {
  QFETCH(QString, line);
  QFETCH(int, offset);
  QFETCH(int, column);
  QCOMPARE(columnOfUtf16Offset(line, offset), column);
}

// "ab\r\ncd\r\n\r\nx" as the toolkit holds it: "ab|cd||x", lines starting at
// 0, 3, 6 and 7 there and at 0, 4, 8 and 10 with breaks counted two.
void PositionsTest::breakCounts_data() {
  QTest::addColumn<int>("line");
  QTest::addColumn<int>("lineStart"); // toolkit count
  QTest::addColumn<int>("lineLength");
  QTest::addColumn<int>("textPosition");
  QTest::addColumn<int>("qtPosition");
  QTest::addColumn<int>("backTo"); // the text position of qtPosition
  QTest::newRow("text start") << 0 << 0 << 2 << 0 << 0 << 0;
  QTest::newRow("first line's end") << 0 << 0 << 2 << 2 << 2 << 2;
  QTest::newRow("between CR and LF stays at the end") << 0 << 0 << 2 << 3 << 2 << 2;
  QTest::newRow("second line's start") << 1 << 3 << 2 << 4 << 3 << 4;
  QTest::newRow("inside the second line") << 1 << 3 << 2 << 5 << 4 << 5;
  QTest::newRow("empty line") << 2 << 6 << 0 << 8 << 6 << 8;
  QTest::newRow("CR of an empty line's break") << 2 << 6 << 0 << 9 << 6 << 8;
  QTest::newRow("last line's end") << 3 << 7 << 1 << 11 << 8 << 11;
  QTest::newRow("past the text stays at its end") << 3 << 7 << 1 << 40 << 8 << 11;
  QTest::newRow("before the line stays at its start") << 1 << 3 << 2 << 1 << 3 << 4;
}

void PositionsTest::breakCounts() {
  QFETCH(int, line);
  QFETCH(int, lineStart);
  QFETCH(int, lineLength);
  QFETCH(int, textPosition);
  QFETCH(int, qtPosition);
  QFETCH(int, backTo);
  const QtPosition qt =
      qtPositionOf(TextPosition(textPosition), line, QtPosition(lineStart), lineLength);
  QCOMPARE(qt.value, qtPosition);
  QCOMPARE(textPositionOf(qt, line).value, backTo);
}

void PositionsTest::utf8Lines_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("characterOffset"); // UTF-16 units into the text
  QTest::addColumn<LineColumn>("place");
  QTest::addColumn<int>("backTo"); // the UTF-16 offset byteOfPosition(place) gives
  QTest::newRow("start") << "ab\ncd" << 0 << LineColumn{1, 1} << 0;
  QTest::newRow("end of first line") << "ab\ncd" << 2 << LineColumn{1, 3} << 2;
  QTest::newRow("second line") << "ab\ncd" << 4 << LineColumn{2, 2} << 4;
  QTest::newRow("empty lines") << "\n\n\nx" << 3 << LineColumn{4, 1} << 3;
  QTest::newRow("CR LF: after the break") << "ab\r\ncd" << 4 << LineColumn{2, 1} << 4;
  QTest::newRow("CR LF: the CR ends the line") << "ab\r\ncd" << 2 << LineColumn{1, 3} << 2;
  QTest::newRow("lone CR breaks a line") << "ab\rcd\ref" << 7 << LineColumn{3, 2} << 7;
  QTest::newRow("lone CR then CR LF") << "a\r\r\nb" << 4 << LineColumn{3, 1} << 4;
  QTest::newRow("lone CR at the end") << "ab\r" << 3 << LineColumn{2, 1} << 3;
  QTest::newRow("mixed breaks") << "a\nb\r\nc\rd" << 7 << LineColumn{4, 1} << 7;
  QTest::newRow("two-byte characters") << "\u00e4\u00f6x\ny" << 2 << LineColumn{1, 3} << 2;
  QTest::newRow("three-byte characters") << "\u20ac\u20ac!" << 2 << LineColumn{1, 3} << 2;
  QTest::newRow("after a surrogate pair") << kSmile + "x\ny" << 2 << LineColumn{1, 2} << 2;
  QTest::newRow("past the end clamps") << "ab\ncd" << 99 << LineColumn{2, 3} << 5;
  QTest::newRow("empty text") << "" << 0 << LineColumn{1, 1} << 0;
}

void PositionsTest::utf8Lines() {
  QFETCH(QString, text);
  QFETCH(int, characterOffset);
  QFETCH(LineColumn, place);
  QFETCH(int, backTo);
  const QByteArray utf8 = text.toUtf8();
  const LineIndex index(utf8);
  const qsizetype byte = text.left(characterOffset).toUtf8().size();
  const qsizetype offset = characterOffset > text.size() ? utf8.size() + 40 : byte;
  QCOMPARE(index.positionOfByte(offset), place);
  QCOMPARE(index.byteOfPosition(place), text.left(backTo).toUtf8().size());
}

// A deck whose lines break with LF, CR LF or a lone CR: the parser's own
// line numbers (an error it reports), the places found from byte offsets
// (an element, a malformed variable) and the editor's lines all agree.
void PositionsTest::parserLinesAgree_data() {
  QTest::addColumn<QString>("lineBreak");
  QTest::newRow("LF") << "\n";
  QTest::newRow("CR LF") << "\r\n";
  QTest::newRow("lone CR") << "\r";
}

void PositionsTest::parserLinesAgree() {
  QFETCH(QString, lineBreak);
  const QStringList lines = {"<?xml version=\"1.0\"?>", "<wml>",   "<card id=\"c\">",
                             "<p>Price: 5$</p>",        "</card>", "</wml>"};
  const ParsedDeck deck = parseDeck(lines.join(lineBreak));
  QVERIFY(deck.wellFormed());
  const xmlNode* card = deck.root()->children;
  while (card && card->type != XML_ELEMENT_NODE)
    card = card->next;
  QVERIFY(card);
  QCOMPARE(deck.position(card), (LineColumn{3, 1}));
  QCOMPARE(deck.variableFindings().size(), 1);
  QCOMPARE(deck.variableFindings().at(0).start.line, 4);
  QCOMPARE(deck.variableFindings().at(0).start.column, 12);

  QStringList broken = lines;
  broken[4] = "</crad>";
  const ParsedDeck notWellFormed = parseDeck(broken.join(lineBreak));
  QVERIFY(!notWellFormed.wellFormed());
  QVERIFY(!notWellFormed.findings().isEmpty());
  QCOMPARE(notWellFormed.findings().at(0).start.line, 3); // the <card> left open
}

QTEST_MAIN(PositionsTest)
#include "tst_positions.moc"
