#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using tessera::Insertion;
using tessera::RowColumn;
using tessera::SourceEditor;

Q_DECLARE_METATYPE(tessera::RowColumn)

class SourceEditorTest : public QObject {
  Q_OBJECT

private slots:
  void wholeTextUsesCrLf();
  void positionsCountBreaksAsTwo_data();
  void positionsCountBreaksAsTwo();
  void selectionBothDirections();
  void insertionAppliesCaretBack();
  void programInsertionIsNotUndoable();
  void userTypingUndoesOneStep();
  void replaceWholeTextRunsChangeOnlyWhenDifferent();
  void keepsSpecialCharacters();
  void rowColumn_data();
  void rowColumn();
  void rightToLeftSelectionColumn();
  void linesWithoutWrap();
  void wrappedRows();
  void changeHandlingSetsFlag();
};

static void put(SourceEditor& e, const QString& text) {
  e.textDocument().replaceWholeText(text);
  e.textDocument().setModified(false);
}

void SourceEditorTest::wholeTextUsesCrLf() {
  SourceEditor e;
  put(e, QStringLiteral("a\r\nbc\r\n"));
  QCOMPARE(e.textDocument().wholeText(), QStringLiteral("a\r\nbc\r\n"));
  QCOMPARE(e.textDocument().textLength(), 7);
  put(e, QString());
  QCOMPARE(e.textDocument().wholeText(), QString());
  QCOMPARE(e.textDocument().textLength(), 0);
}

void SourceEditorTest::positionsCountBreaksAsTwo_data() {
  QTest::addColumn<int>("position");
  QTest::addColumn<int>("qtPosition");
  QTest::addColumn<int>("backToPosition");
  // "ab\r\ncd\r\n\r\nx": qt "ab\ncd\n\nx"
  QTest::newRow("start") << 0 << 0 << 0;
  QTest::newRow("end of first line") << 2 << 2 << 2;
  QTest::newRow("between CR and LF stays at line end") << 3 << 2 << 2;
  QTest::newRow("second line start") << 4 << 3 << 4;
  QTest::newRow("inside second line") << 5 << 4 << 5;
  QTest::newRow("empty line") << 8 << 6 << 8;
  QTest::newRow("last line") << 10 << 7 << 10;
  QTest::newRow("end") << 11 << 8 << 11;
}

void SourceEditorTest::positionsCountBreaksAsTwo() {
  QFETCH(int, position);
  QFETCH(int, qtPosition);
  QFETCH(int, backToPosition);
  SourceEditor e;
  put(e, QStringLiteral("ab\r\ncd\r\n\r\nx"));
  const tessera::TextDocument& document = e.textDocument();
  QCOMPARE(document.toQtPosition(tessera::TextPosition(position)).value, qtPosition);
  QCOMPARE(document.toTextPosition(tessera::QtPosition(qtPosition)).value, backToPosition);
  e.setSelection(tessera::TextPosition(position), 0);
  QCOMPARE(e.caretPosition().value, backToPosition);
}

void SourceEditorTest::selectionBothDirections() {
  SourceEditor e;
  put(e, QStringLiteral("one\r\ntwo\r\nthree"));
  e.setSelection(tessera::TextPosition(2), 6); // "e\r\ntwo"
  QCOMPARE(e.selectionStart().value, 2);
  QCOMPARE(e.selectionLength(), 6);
  QCOMPARE(e.selectedText(), QStringLiteral("e\r\ntwo"));
  QCOMPARE(e.cursorPosition().value, 8);
  e.setSelection(tessera::TextPosition(8), -6); // same range, caret at its start
  QCOMPARE(e.selectionStart().value, 2);
  QCOMPARE(e.selectionLength(), 6);
  QCOMPARE(e.caretPosition().value, 2);
  QCOMPARE(e.cursorPosition().value, 2);
  QCOMPARE(e.selectedText(), QStringLiteral("e\r\ntwo"));
}

void SourceEditorTest::insertionAppliesCaretBack() {
  SourceEditor e;
  put(e, QStringLiteral("xy"));
  e.setSelection(tessera::TextPosition(1), 0);
  e.apply(Insertion{QStringLiteral("<b></b>"), 4, false});
  QCOMPARE(e.textDocument().wholeText(), QStringLiteral("x<b></b>y"));
  QCOMPARE(e.caretPosition().value, 4);
  QCOMPARE(e.selectionLength(), 0);
  // Back over a line break counts two.
  e.apply(Insertion{QStringLiteral("<p>\r\n</p>"), 6, false});
  QCOMPARE(e.caretPosition().value, 4 + 3);
  // Replacing a selection.
  e.setSelection(tessera::TextPosition(0), 1);
  e.apply(Insertion{QStringLiteral("Z"), 0, true});
  QVERIFY(e.textDocument().wholeText().startsWith(QLatin1String("Z<b>")));
  QVERIFY(e.textDocument().isModified());
}

void SourceEditorTest::programInsertionIsNotUndoable() {
  SourceEditor e;
  e.show();
  put(e, QStringLiteral("abc"));
  e.setFocus();
  e.setSelection(tessera::TextPosition(3), 0);
  QTest::keyClicks(&e, QStringLiteral("d"));
  QVERIFY(e.textDocument().canUndoStep());
  e.insertAtCaret(QStringLiteral("<br/>"));
  QVERIFY(!e.textDocument().canUndoStep());
  e.undoStep();
  QCOMPARE(e.textDocument().wholeText(), QStringLiteral("abcd<br/>"));
}

void SourceEditorTest::userTypingUndoesOneStep() {
  SourceEditor e;
  e.show();
  put(e, QStringLiteral("abc"));
  e.setSelection(tessera::TextPosition(3), 0);
  QTest::keyClicks(&e, QStringLiteral("x"));
  QCOMPARE(e.textDocument().wholeText(), QStringLiteral("abcx"));
  e.undoStep();
  QCOMPARE(e.textDocument().wholeText(), QStringLiteral("abc"));
  e.undoStep(); // Undo of an Undo redoes
  QCOMPARE(e.textDocument().wholeText(), QStringLiteral("abcx"));
  e.undoStep();
  QCOMPARE(e.textDocument().wholeText(), QStringLiteral("abc"));
  // The editor's own Ctrl+Z follows the same rule.
  QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(e.textDocument().wholeText(), QStringLiteral("abcx"));
  // A run of typing with line breaks in it is one step; a caret move ends the run.
  e.insertAtCaret(QString());
  QTest::keyClicks(&e, QStringLiteral("12"));
  QTest::keyClick(&e, Qt::Key_Return);
  QTest::keyClicks(&e, QStringLiteral("34"));
  QCOMPARE(e.textDocument().wholeText(), QStringLiteral("abcx12\r\n34"));
  e.setSelection(tessera::TextPosition(0), 0);
  QTest::keyClicks(&e, QStringLiteral("Z"));
  e.undoStep();
  QCOMPARE(e.textDocument().wholeText(), QStringLiteral("abcx12\r\n34"));
  e.undoStep();
  QCOMPARE(e.textDocument().wholeText(), QStringLiteral("Zabcx12\r\n34"));
  // Typing over a selection replaces it, Enter included.
  e.setSelection(tessera::TextPosition(1), 4);
  QTest::keyClick(&e, Qt::Key_Return);
  QCOMPARE(e.textDocument().wholeText(), QStringLiteral("Z\r\n12\r\n34"));
}

void SourceEditorTest::replaceWholeTextRunsChangeOnlyWhenDifferent() {
  SourceEditor e;
  put(e, QStringLiteral("same\r\ntext"));
  e.setSelection(tessera::TextPosition(3), 2);
  QSignalSpy spy(&e, &SourceEditor::statusChanged);
  QVERIFY(!e.textDocument().replaceWholeText(QStringLiteral("same\r\ntext")));
  QCOMPARE(spy.count(), 0);
  QVERIFY(!e.textDocument().isModified());
  QCOMPARE(e.caretPosition().value, 0);
  QVERIFY(e.textDocument().replaceWholeText(QStringLiteral("other")));
  QCOMPARE(spy.count(), 1);
  QVERIFY(e.textDocument().isModified());
  QVERIFY(!e.textDocument().canUndoStep());
}

void SourceEditorTest::keepsSpecialCharacters() {
  SourceEditor e;
  const QString text = QStringLiteral("a\u00a0b\tc") + QChar(0) + QStringLiteral("d\u2028e\fg\r\n");
  put(e, text);
  QCOMPARE(e.textDocument().wholeText(), text);
  e.setSelection(tessera::TextPosition(0), 3);
  QCOMPARE(e.selectedText(), QStringLiteral("a\u00a0b"));
}

void SourceEditorTest::rowColumn_data() {
  QTest::addColumn<int>("position");
  QTest::addColumn<int>("row");
  QTest::addColumn<int>("column");
  QTest::newRow("start") << 0 << 0 << 0;
  QTest::newRow("inside first line") << 3 << 0 << 3;
  QTest::newRow("second line") << 8 << 1 << 2;
  QTest::newRow("after final break") << 12 << 2 << 0;
}

void SourceEditorTest::rowColumn() {
  QFETCH(int, position);
  QFETCH(int, row);
  QFETCH(int, column);
  SourceEditor e;
  e.setLineWrapMode(QPlainTextEdit::NoWrap);
  put(e, QStringLiteral("abcd\r\nefgh\r\n"));
  e.setSelection(tessera::TextPosition(position), 0);
  QCOMPARE(e.rowColumn(), (RowColumn{row, column}));
}

void SourceEditorTest::rightToLeftSelectionColumn() {
  SourceEditor e;
  e.setLineWrapMode(QPlainTextEdit::NoWrap);
  put(e, QStringLiteral("abcdefgh\r\nij\r\n"));
  // From position 12 ("ij|") back to 2 ("ab|"): the row is that of the
  // selection end, the column counts from the caret's line start.
  e.setSelection(tessera::TextPosition(12), -10);
  QCOMPARE(e.rowColumn(), (RowColumn{1, 12}));
  e.setSelection(tessera::TextPosition(2), 10); // left to right: plain caret place
  QCOMPARE(e.rowColumn(), (RowColumn{1, 2}));
}

void SourceEditorTest::linesWithoutWrap() {
  SourceEditor e;
  e.setLineWrapMode(QPlainTextEdit::NoWrap);
  put(e, QStringLiteral("one\r\n\r\nthree\r\n"));
  QCOMPARE(e.lineCount(), 3); // the empty last line is not counted
  QCOMPARE(e.lineText(0), QStringLiteral("one"));
  QCOMPARE(e.lineText(1), QString());
  QCOMPARE(e.lineText(2), QStringLiteral("three"));
  QCOMPARE(e.lineStart(0).value, 0);
  QCOMPARE(e.lineStart(1).value, 5);
  QCOMPARE(e.lineStart(2).value, 7);
  QCOMPARE(e.lineOfPosition(tessera::TextPosition(8)), 2);
  put(e, QString(5000, QLatin1Char('x')));
  QCOMPARE(e.lineText(0).size(), SourceEditor::kMaxLineText);
}

void SourceEditorTest::wrappedRows() {
  SourceEditor e;
  e.resize(300, 200);
  e.show();
  QVERIFY(QTest::qWaitForWindowExposed(&e));
  QString words;
  for (int i = 0; i < 60; ++i)
    words += QStringLiteral("word%1 ").arg(i);
  put(e, QStringLiteral("head\r\n") + words + QStringLiteral("\r\ntail"));
  const int rows = e.lineCount();
  QVERIFY2(rows >= 5, qPrintable(QString::number(rows)));
  // Each wrapped row starts where the previous one ends.
  const int third = 3; // the second row of the long line is line 2, the third is line 3
  const int start = e.lineStart(third).value;
  QVERIFY(start > e.lineStart(2).value);
  e.setSelection(tessera::TextPosition(start + 2), 0);
  QCOMPARE(e.rowColumn(), (RowColumn{third, 2}));
  e.setSelection(tessera::TextPosition(e.lineStart(1).value + 1), 0);
  QCOMPARE(e.rowColumn(), (RowColumn{1, 1}));
  QCOMPARE(e.lineOfPosition(tessera::TextPosition(e.textDocument().textLength())), rows - 1);
  // Switching wrap off: the long line is one line again.
  e.setLineWrapMode(QPlainTextEdit::NoWrap);
  QCOMPARE(e.lineCount(), 3);
}

void SourceEditorTest::changeHandlingSetsFlag() {
  SourceEditor e;
  e.show();
  put(e, QStringLiteral("abc"));
  QSignalSpy spy(&e, &SourceEditor::statusChanged);
  e.setSelection(tessera::TextPosition(1), 0);
  QTest::keyClick(&e, Qt::Key_Right);
  QVERIFY(!e.textDocument().isModified()); // moving the caret is no change
  QVERIFY(spy.count() >= 1);               // but the key release refreshes the status
  QCOMPARE(spy.last().at(0).value<RowColumn>(), (RowColumn{0, 2}));
  QTest::keyClicks(&e, QStringLiteral("z"));
  QVERIFY(e.textDocument().isModified());
  QCOMPARE(spy.last().at(0).value<RowColumn>(), (RowColumn{0, 3}));
}

QTEST_MAIN(SourceEditorTest)
#include "tst_sourceeditor.moc"
