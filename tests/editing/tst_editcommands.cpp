#include "editing/EditingFixture.h"

#include "tools/InlineBuilders.h"

#include <QClipboard>

using tessera::SourceEditor;

class EditCommandsTest : public QObject {
  Q_OBJECT

private slots:
  void commandByFocus_data();
  void commandByFocus();
  void clipboardRoundTrip();
  void undoSequences();
  void programEditsAreNotUndoable_data();
  void programEditsAreNotUndoable();
  void caseCommandLeavesNoSelection();
  void fieldKeysRunMenuCommands();
};

static QString clipboardText() { return QApplication::clipboard()->text(); }

void EditCommandsTest::commandByFocus_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<bool>("inField");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("selStart");
  QTest::addColumn<int>("selLength");
  QTest::addColumn<QString>("expected");
  QTest::addColumn<QString>("clipboard"); // "old" before each row
  QTest::addColumn<bool>("editorFocusedAfter");
  QTest::addColumn<int>("caretAfter");
  QTest::addColumn<int>("selLengthAfter");

  const QString old = QStringLiteral("old");
  QTest::newRow("copy, editor") << "Msols1" << false << "hello you" << 0 << 5 << "hello you"
                                << "hello" << true << 0 << 5;
  QTest::newRow("copy, field") << "Msols1" << true << "hello you" << 0 << 5 << "hello you" << old
                               << false << 0 << 5;
  QTest::newRow("copy, nothing selected")
      << "Msols1" << false << "hello" << 2 << 0 << "hello" << old << true << 2 << 0;
  QTest::newRow("cut, editor") << "Kivgs1" << false << "hello you" << 0 << 6 << "you"
                               << "hello " << true << 0 << 0;
  QTest::newRow("cut, field") << "Kivgs1" << true << "hello you" << 0 << 6 << "hello you" << old
                              << false << 0 << 6;
  QTest::newRow("paste, editor") << "Beilleszts1" << false << "abc" << 1 << 1 << "aoldc" << old
                                 << true << 4 << 0;
  QTest::newRow("paste, field") << "Beilleszts1" << true << "abc" << 1 << 1 << "abc" << old << false
                                << 1 << 1;
  QTest::newRow("delete, editor") << "rls1" << false << "abc" << 1 << 1 << "ac" << old << true << 1
                                  << 0;
  QTest::newRow("delete, field: focuses the editor")
      << "rls1" << true << "abc" << 1 << 1 << "ac" << old << true << 1 << 0;
  QTest::newRow("delete, nothing selected")
      << "rls1" << false << "abc" << 1 << 0 << "abc" << old << true << 1 << 0;
  QTest::newRow("select all, editor")
      << "Mindetkijell1" << false << "ab\r\ncd" << 1 << 0 << "ab\r\ncd" << old << true << 0 << 6;
  QTest::newRow("select all, field: focuses the editor")
      << "Mindetkijell1" << true << "ab\r\ncd" << 1 << 0 << "ab\r\ncd" << old << true << 0 << 6;
  QTest::newRow("upper, editor") << "UpperChase1" << false << "<p align=\"left\">\u00e9" << 0 << 17
                                 << "<P ALIGN=\"LEFT\">\u00e9" << old << true << 17 << 0;
  QTest::newRow("upper, field: focus stays")
      << "UpperChase1" << true << "xab" << 1 << 2 << "xAB" << old << false << 3 << 0;
  QTest::newRow("lower, editor") << "Lowerchase1" << false << "A\r\nB\u00c9" << 0 << 5
                                 << "a\r\nb\u00c9" << old << true << 5 << 0;
  QTest::newRow("lower, nothing selected")
      << "Lowerchase1" << true << "ABC" << 1 << 0 << "ABC" << old << false << 1 << 0;
}

void EditCommandsTest::commandByFocus() {
  QFETCH(QString, action);
  QFETCH(bool, inField);
  QFETCH(QString, text);
  QFETCH(int, selStart);
  QFETCH(int, selLength);
  QFETCH(QString, expected);
  QFETCH(QString, clipboard);
  QFETCH(bool, editorFocusedAfter);
  QFETCH(int, caretAfter);
  QFETCH(int, selLengthAfter);

  EditingFixture f;
  QApplication::clipboard()->setText(QStringLiteral("old"));
  f.put(text, selStart, selLength);
  f.field->setText(QStringLiteral("field"));
  f.field->selectAll();
  if (inField)
    f.focusField();
  else
    f.focusEditor();

  f.run(action.toLatin1().constData());

  QCOMPARE(f.editor().textDocument().wholeText(), expected);
  QCOMPARE(clipboardText(), clipboard);
  QCOMPARE(f.editor().hasFocus(), editorFocusedAfter);
  QCOMPARE(f.field->hasFocus(), !editorFocusedAfter);
  QCOMPARE(f.editor().caretPosition().value, caretAfter);
  QCOMPARE(f.editor().selectionLength(), selLengthAfter);
  QCOMPARE(f.field->text(), QStringLiteral("field"));
  QCOMPARE(f.editor().textDocument().isModified(), expected != text);
}

void EditCommandsTest::clipboardRoundTrip() {
  EditingFixture f;
  f.put(QStringLiteral("<p>\r\nline\u0151\r\n</p>"), 0, 12); // "<p>\r\nline\u0151\r\n"
  f.focusEditor();
  f.run("Msols1");
  f.editor().setSelection(tessera::TextPosition(f.editor().textDocument().textLength()), 0);
  f.run("Beilleszts1");
  QCOMPARE(f.editor().textDocument().wholeText(),
           QStringLiteral("<p>\r\nline\u0151\r\n</p><p>\r\nline\u0151\r\n"));
  QCOMPARE(f.editor().caretPosition().value, f.editor().textDocument().textLength());
  // Cut and paste back puts the text where it was.
  f.editor().setSelection(tessera::TextPosition(5), 5);
  f.run("Kivgs1");
  QCOMPARE(f.editor().textDocument().wholeText(),
           QStringLiteral("<p>\r\n\r\n</p><p>\r\nline\u0151\r\n"));
  f.run("Beilleszts1");
  QCOMPARE(f.editor().textDocument().wholeText(),
           QStringLiteral("<p>\r\nline\u0151\r\n</p><p>\r\nline\u0151\r\n"));
  // An empty clipboard pastes nothing and keeps the selection.
  QApplication::clipboard()->clear();
  f.editor().setSelection(tessera::TextPosition(0), 3);
  f.run("Beilleszts1");
  QCOMPARE(f.editor().selectedText(), QStringLiteral("<p>"));
}

void EditCommandsTest::undoSequences() {
  EditingFixture f;
  f.put(QStringLiteral("abc"), 3);
  f.focusEditor();
  f.type(QStringLiteral("xy"));
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("abcxy"));
  f.run("Visszavons1");
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("abc"));
  f.run("Visszavons1"); // the second Undo puts it back
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("abcxy"));

  // After a tool's insertion Undo does nothing ...
  f.editor().apply(tessera::lineBreak());
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("abcxy<br/>"));
  f.run("Visszavons1");
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("abcxy<br/>"));
  // ... until the user types again, and then it takes back only that.
  f.type(QStringLiteral("z"));
  f.run("Visszavons1");
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("abcxy<br/>"));

  // Undo acts on the editor wherever the focus is, and leaves it there.
  f.run("Visszavons1");
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("abcxy<br/>z"));
  f.focusField();
  f.key(Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("abcxy<br/>"));
  QVERIFY(f.field->hasFocus());
  QCOMPARE(f.field->text(), QString());
}

void EditCommandsTest::programEditsAreNotUndoable_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<QString>("after");
  QTest::newRow("delete") << "rls1"
                          << "aq";
  QTest::newRow("upper case") << "UpperChase1"
                              << "aBCq";
  QTest::newRow("lower case") << "Lowerchase1"
                              << "abcq";
}

void EditCommandsTest::programEditsAreNotUndoable() {
  QFETCH(QString, action);
  QFETCH(QString, after);
  EditingFixture f;
  f.put(QStringLiteral("a"), 1);
  f.focusEditor();
  f.type(QStringLiteral("BCq"));
  f.editor().setSelection(tessera::TextPosition(1), 2);
  f.run(action.toLatin1().constData());
  QCOMPARE(f.editor().textDocument().wholeText(), after);
  f.run("Visszavons1");
  QCOMPARE(f.editor().textDocument().wholeText(), after);
}

void EditCommandsTest::caseCommandLeavesNoSelection() {
  EditingFixture f;
  f.put(QStringLiteral("one two"), 4, 3);
  f.focusEditor();
  f.run("UpperChase1");
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("one TWO"));
  QCOMPARE(f.editor().caretPosition().value, 7);
  f.run("Lowerchase1"); // nothing selected now: nothing happens
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("one TWO"));
}

void EditCommandsTest::fieldKeysRunMenuCommands() {
  EditingFixture f;
  QApplication::clipboard()->setText(QStringLiteral("clip"));
  f.put(QStringLiteral("text"), 0, 2);
  f.field->setText(QStringLiteral("field"));
  f.focusField();
  f.field->selectAll();
  // The field neither copies, cuts nor pastes: the menu commands run and
  // do nothing, since the editor has no focus.
  f.key(Qt::Key_C, Qt::ControlModifier);
  f.key(Qt::Key_X, Qt::ControlModifier);
  QCOMPARE(clipboardText(), QStringLiteral("clip"));
  f.key(Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(f.field->text(), QStringLiteral("field"));
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("text"));
  QVERIFY(f.field->hasFocus());
  // Ctrl+A selects the editor's text and moves the focus there.
  f.key(Qt::Key_A, Qt::ControlModifier);
  QVERIFY(f.editor().hasFocus());
  QCOMPARE(f.editor().selectionLength(), 4);
  // In the editor the same keys do their work.
  f.key(Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(clipboardText(), QStringLiteral("text"));
  f.key(Qt::Key_X, Qt::ControlModifier);
  QCOMPARE(f.editor().textDocument().wholeText(), QString());
  f.key(Qt::Key_V, Qt::ControlModifier);
  f.key(Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("texttext"));
}

QTEST_MAIN(EditCommandsTest)
#include "tst_editcommands.moc"
