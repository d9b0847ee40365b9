#include "deck/ErrorMarks.h"
#include "deck/SyntaxColouring.h"
#include "info/BalloonHints.h"
#include "info/GraphicHintWindow.h"

#include <QPlainTextEdit>
#include <QStatusTipEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace tessera;
using wml::Finding;
using wml::Severity;

namespace {

// The wavy underlines a line carries, as "start+length:colour".
QStringList marksOf(const QTextBlock& block) {
  QStringList out;
  for (const QTextLayout::FormatRange& range : block.layout()->formats())
    if (range.format.underlineStyle() == QTextCharFormat::WaveUnderline)
      out << QStringLiteral("%1+%2:%3")
                 .arg(range.start)
                 .arg(range.length)
                 .arg(range.format.underlineColor().name());
  return out;
}

class StatusTips : public QObject {
public:
  QStringList tips;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::StatusTip)
      tips << static_cast<QStatusTipEvent*>(event)->tip();
    return false;
  }
};

struct Fixture {
  Fixture() {
    BalloonHints::install();
    editor.resize(500, 300);
    editor.setLineWrapMode(QPlainTextEdit::NoWrap);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
  }
  void paint() { editor.viewport()->repaint(); }
  QTextBlock block(int line) const { return editor.document()->findBlockByNumber(line); }
  QPoint pointAt(int position) {
    QTextCursor cursor(editor.document());
    cursor.setPosition(position);
    return editor.cursorRect(cursor).center() + QPoint(3, 0);
  }
  QPlainTextEdit editor;
  SyntaxColouring colouring{editor};
  ErrorMarks marks{editor, colouring};
};

const QString red = ErrorMarks::colourOf(Severity::Error).name();
const QString amber = ErrorMarks::colourOf(Severity::Warning).name();

} // namespace

class TestErrorMarks : public QObject {
  Q_OBJECT
private slots:
  void stretch_data();
  void stretch();
  void marksAreDrawnWhereTheFindingsAre();
  void aFindingWithAnEndIsMarkedToIt_data();
  void aFindingWithAnEndIsMarkedToIt();
  void marksMoveWithTheText();
  void marksStayWithoutColouring();
  void pointerShowsThePlainMessage();
  void newFindingsForgetTheShownMessage();
};

void TestErrorMarks::stretch_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<int>("column");
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("end");
  QTest::newRow("start tag name") << "<card id=\"x\">" << 1 << 0 << 5;
  QTest::newRow("end tag name") << "  </card>" << 3 << 2 << 8;
  QTest::newRow("attribute") << "<a accesskey=\"1\">" << 4 << 3 << 12;
  QTest::newRow("variable") << "<p>$(a:q)</p>" << 4 << 3 << 9;
  QTest::newRow("a lone sign is one character") << "a = b" << 3 << 2 << 3;
  QTest::newRow("past the end: the last character") << "abc" << 9 << 2 << 3;
  QTest::newRow("empty line") << "" << 1 << -1 << -1;
  // The column counts characters: the clef is one, though two units long.
  QTest::newRow("after a character outside the BMP") << "\U0001D11Ex <a" << 4 << 4 << 6;
  QTest::newRow("on a character outside the BMP") << "x \U0001D11E" << 3 << 2 << 4;
}

void TestErrorMarks::stretch() {
  QFETCH(QString, line);
  QFETCH(int, column);
  QFETCH(int, start);
  QFETCH(int, end);
  QCOMPARE(markedStretch(line, column), qMakePair(start, end));
}

void TestErrorMarks::marksAreDrawnWhereTheFindingsAre() {
  Fixture f;
  f.editor.setPlainText(QStringLiteral("<wml>\n<card id=\"a\">\n<p>$</p>\n</card>\n</wml>"));
  f.marks.setFindings({{{2, 1}, Severity::Error, QStringLiteral("bad card"), {}},
                       {{3, 4}, Severity::Warning, QStringLiteral("lone $"), {}},
                       {{99, 1}, Severity::Error, QStringLiteral("beyond the text"), {}}});
  f.paint();
  QCOMPARE(f.marks.count(), 2);
  QCOMPARE(marksOf(f.block(1)), QStringList{QStringLiteral("0+5:%1").arg(red)});
  QCOMPARE(marksOf(f.block(2)), QStringList{QStringLiteral("3+1:%1").arg(amber)});
  QVERIFY(marksOf(f.block(0)).isEmpty());
  // The colours are still there beside the marks.
  QVERIFY(f.block(1).layout()->formats().size() > 1);
  // A new check replaces the marks.
  f.marks.setFindings({});
  f.paint();
  QVERIFY(marksOf(f.block(1)).isEmpty());
}

void TestErrorMarks::aFindingWithAnEndIsMarkedToIt_data() {
  QTest::addColumn<QString>("line"); // the second of three
  QTest::addColumn<int>("startColumn");
  QTest::addColumn<int>("endLine");
  QTest::addColumn<int>("endColumn");
  QTest::addColumn<int>("start"); // UTF-16 offsets in the line
  QTest::addColumn<int>("end");
  // Not the word at the start: "$(a b)" is one stretch though it holds a space.
  QTest::newRow("end on the same line") << "<p>$(a b) x</p>" << 4 << 2 << 10 << 3 << 9;
  QTest::newRow("runs on to a later line: to this line's end")
      << "<p>$(a b) x</p>" << 4 << 3 << 2 << 3 << 15;
  QTest::newRow("end at the start: one character") << "<p>$(a b) x</p>" << 4 << 2 << 4 << 3 << 4;
  QTest::newRow("end past the line's end: its end") << "<p>$(a</p>" << 4 << 2 << 40 << 3 << 10;
  // Columns count characters: the clef is one column, two units.
  QTest::newRow("after a character outside the BMP")
      << "\U0001D11E$(a b) x" << 2 << 2 << 8 << 2 << 8;
}

void TestErrorMarks::aFindingWithAnEndIsMarkedToIt() {
  QFETCH(QString, line);
  QFETCH(int, startColumn);
  QFETCH(int, endLine);
  QFETCH(int, endColumn);
  QFETCH(int, start);
  QFETCH(int, end);
  Fixture f;
  f.editor.setPlainText(QStringLiteral("<wml>\n%1\n</wml>").arg(line));
  f.marks.setFindings(
      {{{2, startColumn}, Severity::Error, QStringLiteral("m"), {}, {endLine, endColumn}}});
  f.paint();
  QCOMPARE(f.marks.count(), 1);
  QCOMPARE(marksOf(f.block(1)),
           QStringList{QStringLiteral("%1+%2:%3").arg(start).arg(end - start).arg(red)});
  QVERIFY(marksOf(f.block(2)).isEmpty());
  const QtPosition lineStart(f.block(1).position());
  QCOMPARE(f.marks.range(0), qMakePair(lineStart + start, lineStart + end));
}

void TestErrorMarks::marksMoveWithTheText() {
  Fixture f;
  f.editor.setPlainText(QStringLiteral("<p>\n<b>x</b>\n</p>"));
  f.marks.setFindings({{{2, 1}, Severity::Error, QStringLiteral("m"), {}}});
  QTextCursor cursor(f.block(1));
  cursor.insertText(QStringLiteral("ab "));
  QTextCursor top(f.block(0));
  top.insertText(QStringLiteral("\n\n"));
  f.paint();
  QCOMPARE(marksOf(f.block(3)), QStringList{QStringLiteral("3+2:%1").arg(red)});
  QCOMPARE(f.marks.messageAt(QtPosition(f.block(3).position() + 4)), QStringLiteral("m"));
  QCOMPARE(f.marks.messageAt(QtPosition(f.block(3).position() + 2)), QString());
}

void TestErrorMarks::marksStayWithoutColouring() {
  Fixture f;
  f.editor.setPlainText(QStringLiteral("<p>\n<b>x</b>"));
  f.marks.setFindings({{{2, 1}, Severity::Error, QStringLiteral("m"), {}}});
  f.colouring.setEnabled(false);
  f.paint();
  QCOMPARE(marksOf(f.block(1)), QStringList{QStringLiteral("0+2:%1").arg(red)});
  QCOMPARE(f.block(1).layout()->formats().size(), 1);
  QVERIFY(f.block(0).layout()->formats().isEmpty());
}

// The message is shown as written: a tag or an "@" is no hint markup here.
void TestErrorMarks::pointerShowsThePlainMessage() {
  Fixture f;
  StatusTips tips;
  f.editor.installEventFilter(&tips);
  const QString message = QStringLiteral("<do> needs a type; ask a@b.example");
  f.editor.setPlainText(QStringLiteral("<card>\n<do>x</do>"));
  f.marks.setFindings({{{2, 1}, Severity::Error, message, {}}});
  f.paint();
  const QPoint over = f.pointAt(f.block(1).position() + 1);
  QTest::mouseMove(f.editor.viewport(), over);
  QCOMPARE(tips.tips, QStringList{message});
  QTest::mouseMove(f.editor.viewport(), f.pointAt(4));
  QCOMPARE(tips.tips, (QStringList{message, QString()}));

  BalloonHints& hints = *BalloonHints::instance();
  hints.showHintAt(f.editor.viewport()->mapToGlobal(over));
  QVERIFY(hints.isShowingHint());
  QCOMPARE(hints.window()->text(), message);
  hints.hideHint();
  BalloonHints::setShowHint(&f.editor, false);
  hints.showHintAt(f.editor.viewport()->mapToGlobal(over));
  QVERIFY(!hints.isShowingHint());
}

// Another document opened (or checked afresh) under a resting pointer: the
// old deck's message must not stay in the status line.
void TestErrorMarks::newFindingsForgetTheShownMessage() {
  Fixture f;
  StatusTips tips;
  f.editor.installEventFilter(&tips);
  const QString message = QStringLiteral("Compiled deck is 2000 bytes, over the budget of 1397 "
                                         "bytes");
  f.editor.setPlainText(QStringLiteral("<wml>\n<card/></wml>"));
  f.marks.setFindings({{{1, 1}, Severity::Warning, message, QStringLiteral("over-budget")}});
  f.paint();
  QTest::mouseMove(f.editor.viewport(), f.pointAt(1));
  QCOMPARE(tips.tips, QStringList{message});
  f.editor.setPlainText(QStringLiteral("<wml><card/></wml>"));
  f.marks.setFindings({});
  QCOMPARE(tips.tips, (QStringList{message, QString()}));
  f.marks.setFindings({}); // nothing shown: nothing to take back
  QCOMPARE(tips.tips.size(), 2);
}

QTEST_MAIN(TestErrorMarks)
#include "tst_errormarks.moc"
