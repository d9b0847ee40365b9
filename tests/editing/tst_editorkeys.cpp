#include "editing/EditingFixture.h"

#include "app/StatusLine.h"
#include "editing/EditingCommands.h"
#include "editing/ShortcutRouter.h"

#include <QClipboard>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTimer>

using tessera::StatusLine;

class EditorKeysTest : public QObject {
  Q_OBJECT

private slots:
  void keys_data();
  void keys();
  void bracketIsNotTypedOver();
  void helperTextsAreProgramEdits();
  void wrapKeysFromEveryControl_data();
  void wrapKeysFromEveryControl();
  void ctrlIInToolsWindow();
  void noRoutingWhileModal();
  void statusBeforeKeyAndOnRelease();
};

void EditorKeysTest::keys_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("selStart");
  QTest::addColumn<int>("selLength");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<QString>("expected");
  QTest::addColumn<int>("caret");

  const int none = Qt::NoModifier, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier,
            alt = Qt::AltModifier;
  QTest::newRow("< gives a pair") << "ab" << 1 << 0 << int(Qt::Key_Less) << shift << "a<>b" << 2;
  QTest::newRow("< over a selected word")
      << "one two" << 4 << 3 << int(Qt::Key_Less) << shift << "one <>" << 5;
  QTest::newRow("tab: eight blanks")
      << "ab" << 1 << 0 << int(Qt::Key_Tab) << none << "a        b" << 9;
  QTest::newRow("tab over a selection")
      << "abcd" << 1 << 2 << int(Qt::Key_Tab) << none << "a        d" << 9;
  QTest::newRow("shift+tab over a selection")
      << "abcd" << 1 << 2 << int(Qt::Key_Backtab) << shift << "a        d" << 9;
  QTest::newRow("shift+enter at a line end")
      << "line\r\nnext" << 4 << 0 << int(Qt::Key_Return) << shift << "line<br/>\r\n\r\nnext" << 11;
  QTest::newRow("shift+keypad enter")
      << "x" << 1 << 0 << int(Qt::Key_Enter) << shift << "x<br/>\r\n"
      << 8;
  QTest::newRow("plain enter") << "x" << 1 << 0 << int(Qt::Key_Return) << none << "x\r\n" << 3;
  QTest::newRow("ctrl+shift+enter")
      << "x" << 1 << 0 << int(Qt::Key_Return) << (ctrl | shift) << "x" << 1;
  QTest::newRow("alt+shift+enter")
      << "x" << 1 << 0 << int(Qt::Key_Return) << (alt | shift) << "x" << 1;
  QTest::newRow("ctrl+space mid-word")
      << "word" << 2 << 0 << int(Qt::Key_Space) << ctrl << "wo&nbsp; rd" << 9;
  QTest::newRow("ctrl+shift+space")
      << "word" << 2 << 0 << int(Qt::Key_Space) << (ctrl | shift) << "word" << 2;
  QTest::newRow("ctrl+b, nothing selected")
      << "xy" << 1 << 0 << int(Qt::Key_B) << ctrl << "x<b></b>y" << 4;
  QTest::newRow("ctrl+b, one character")
      << "xy" << 0 << 1 << int(Qt::Key_B) << ctrl << "<b></b>y" << 3;
  QTest::newRow("ctrl+b, two characters")
      << "xyz" << 0 << 2 << int(Qt::Key_B) << ctrl << "<b>xy</b>z" << 5;
  QTest::newRow("ctrl+i wraps, types no tab")
      << "xyz" << 1 << 2 << int(Qt::Key_I) << ctrl << "x<i>yz</i>" << 6;
  QTest::newRow("ctrl+u") << "xyz" << 3 << 0 << int(Qt::Key_U) << ctrl << "xyz<u></u>" << 6;
}

void EditorKeysTest::keys() {
  QFETCH(QString, text);
  QFETCH(int, selStart);
  QFETCH(int, selLength);
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(QString, expected);
  QFETCH(int, caret);
  EditingFixture f;
  f.put(text, selStart, selLength);
  f.focusEditor();
  f.key(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  QCOMPARE(f.editor().textDocument().wholeText(), expected);
  QCOMPARE(f.editor().caretPosition().value, caret);
  QCOMPARE(f.editor().selectionLength(), 0);
  QVERIFY(f.editor().hasFocus()); // Tab and Shift+Tab keep it too
  QVERIFY(!f.editor().textDocument().wholeText().contains(QLatin1Char('\t')));
  QVERIFY(!f.editor().textDocument().wholeText().contains(QChar(0x2028)));
}

void EditorKeysTest::bracketIsNotTypedOver() {
  EditingFixture f;
  f.put(QString());
  f.focusEditor();
  f.type(QStringLiteral("<p>"));
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("<p>>"));
  QCOMPARE(f.editor().caretPosition().value, 3);
}

void EditorKeysTest::helperTextsAreProgramEdits() {
  // The helper text is not undoable; the blank or line break after it is
  // ordinary typing and is.
  EditingFixture f;
  f.put(QStringLiteral("ab"), 1);
  f.focusEditor();
  f.key(Qt::Key_Space, Qt::ControlModifier);
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("a&nbsp; b"));
  QVERIFY(f.editor().textDocument().isModified());
  f.run("Visszavons1");
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("a&nbsp;b"));
  f.run("Visszavons1");
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("a&nbsp; b"));

  f.put(QStringLiteral("ab"), 1);
  f.key(Qt::Key_Less, Qt::ShiftModifier);
  f.run("Visszavons1");
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("a<>b"));
}

void EditorKeysTest::wrapKeysFromEveryControl_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("expected");
  QTest::newRow("ctrl+b") << int(Qt::Key_B) << "<b>one</b> two";
  QTest::newRow("ctrl+i") << int(Qt::Key_I) << "<i>one</i> two";
  QTest::newRow("ctrl+u") << int(Qt::Key_U) << "<u>one</u> two";
}

void EditorKeysTest::wrapKeysFromEveryControl() {
  QFETCH(int, key);
  QFETCH(QString, expected);
  EditingFixture f;
  f.put(QStringLiteral("one two"), 0, 3);
  f.field->setText(QStringLiteral("field"));
  f.focusField();
  f.key(Qt::Key(key), Qt::ControlModifier);
  QCOMPARE(f.editor().textDocument().wholeText(), expected);
  QCOMPARE(f.editor().caretPosition().value, 6);
  QVERIFY(f.editor().hasFocus()); // the tool focuses the editor
  QCOMPARE(f.field->text(), QStringLiteral("field"));
}

void EditorKeysTest::ctrlIInToolsWindow() {
  EditingFixture f;
  // The floating tools window the main window made at start, given a text
  // control that would otherwise take Ctrl+I as a Tab.
  auto& tools = *f.window.findChild<tessera::ToolsWindow*>();
  auto* memo = new QPlainTextEdit(&tools);
  memo->setGeometry(0, 0, 60, 30);
  memo->show();
  f.put(QStringLiteral("abc"), 1, 2);
  tools.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&tools));
  memo->setFocus();
  QTRY_VERIFY(memo->hasFocus());
  f.key(Qt::Key_I, Qt::ControlModifier);
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("a<i>bc</i>"));
  QCOMPARE(memo->toPlainText(), QString());
  // A window that is neither the main window nor a tools window keeps its keys.
  QWidget other(nullptr, Qt::Window);
  auto* otherMemo = new QPlainTextEdit(&other);
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  otherMemo->setFocus();
  QTRY_VERIFY(otherMemo->hasFocus());
  f.key(Qt::Key_I, Qt::ControlModifier);
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("a<i>bc</i>"));
  // ... unless it is added as one.
  f.window.editing()->shortcuts().addWindow(&other);
  f.editor().setSelection(tessera::TextPosition(0), 1);
  f.key(Qt::Key_U, Qt::ControlModifier);
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("<u></u><i>bc</i>"));
}

void EditorKeysTest::noRoutingWhileModal() {
  EditingFixture f;
  f.put(QStringLiteral("abc"), 0, 2);
  QDialog dialog(&f.window);
  auto* edit = new QLineEdit(&dialog);
  bool checked = false;
  QTimer::singleShot(0, &dialog, [&] {
    edit->setFocus();
    edit->setText(QStringLiteral("x"));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    checked = true;
    dialog.accept();
  });
  dialog.exec();
  QVERIFY(checked);
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("abc"));
  QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("x"));
}

void EditorKeysTest::statusBeforeKeyAndOnRelease() {
  EditingFixture f;
  f.put(QStringLiteral("abc\r\ndef"), 1);
  f.focusEditor();
  StatusLine* status = f.window.statusLine();
  f.editor().refreshStatus();
  QCOMPARE(status->panelText(StatusLine::CharPanel), QStringLiteral("Char.: 1"));
  // While the key is held the caret from before the key is shown.
  QTest::keyPress(&f.editor(), Qt::Key_Down);
  QCOMPARE(f.editor().caretPosition().value, 6);
  QCOMPARE(status->panelText(StatusLine::RowPanel), QStringLiteral("Row: 1"));
  QTest::keyRelease(&f.editor(), Qt::Key_Down);
  QCOMPARE(status->panelText(StatusLine::RowPanel), QStringLiteral("Row: 2"));
  QCOMPARE(status->panelText(StatusLine::CharPanel), QStringLiteral("Char.: 1"));
  // The caret was moved without the status line (a program selection):
  // the next key press shows it before the key acts.
  f.editor().setSelection(tessera::TextPosition(3), 0);
  QTest::keyPress(&f.editor(), Qt::Key_Right);
  QCOMPARE(status->panelText(StatusLine::RowPanel), QStringLiteral("Row: 1"));
  QCOMPARE(status->panelText(StatusLine::CharPanel), QStringLiteral("Char.: 3"));
  QTest::keyRelease(&f.editor(), Qt::Key_Right);
  QCOMPARE(status->panelText(StatusLine::RowPanel), QStringLiteral("Row: 2"));
  QVERIFY(!f.editor().textDocument().isModified());
}

QTEST_MAIN(EditorKeysTest)
#include "tst_editorkeys.moc"
