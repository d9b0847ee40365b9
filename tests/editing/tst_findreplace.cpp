#include "editing/EditingFixture.h"

#include "editing/EditingCommands.h"
#include "editing/FindDialog.h"
#include "editing/FindReplace.h"
#include "editing/LineSelection.h"
#include "editing/ReplaceDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>

using namespace tessera;

class FindReplaceTest : public QObject {
  Q_OBJECT

private slots:
  void boxesShowFixedOptions();
  void findStepsThroughOverlaps();
  void findIsCaseSensitiveAndSilent();
  void findAgainStartsAtTop();
  void replaceSteps_data();
  void replaceSteps();
  void replaceNotFound();
  void replaceAllIsOneProgramEdit();
  void replaceAllMatchesAPlainReplace();
  void replaceBoxFindNext();
  void searchTextWithLineBreaks();
  void closingBoxes();
  void resultScrolledIntoView_data();
  void resultScrolledIntoView();
};

struct Boxes : EditingFixture {
  FindReplace& fr() { return window.editing()->findReplace(); }
  FindDialog* findBox() { return fr().findDialog(); }
  ReplaceDialog* replaceBox() { return fr().replaceDialog(); }
  void find(const QString& what) {
    findBox()->findEdit()->setText(what);
    findBox()->findNextButton()->click();
  }
  void replace(const QString& what, const QString& with, bool all = false) {
    replaceBox()->findEdit()->setText(what);
    replaceBox()->replaceEdit()->setText(with);
    (all ? replaceBox()->replaceAllButton() : replaceBox()->replaceButton())->click();
  }
  QPair<int, int> selection() {
    return {editor().selectionStart().value, editor().selectionLength()};
  }
};

void FindReplaceTest::boxesShowFixedOptions() {
  Boxes f;
  f.run("Find1");
  FindDialog* find = f.findBox();
  QVERIFY(find->isVisible());
  QVERIFY(!find->isModal());
  QCOMPARE(find->objectName(), QStringLiteral("FindDialog1"));
  QCOMPARE(find->findEdit()->maxLength(), 255);
  auto* down = find->findChild<QRadioButton*>(QStringLiteral("downRadio"));
  QVERIFY(down && down->isChecked() && !down->isEnabled());
  auto* matchCase = find->findChild<QCheckBox*>(QStringLiteral("matchCaseCheck"));
  QVERIFY(matchCase && matchCase->isChecked() && !matchCase->isEnabled());
  auto* whole = find->findChild<QCheckBox*>(QStringLiteral("wholeWordCheck"));
  QVERIFY(whole && !whole->isChecked() && !whole->isEnabled());
  // Nothing to look for: Find Next cannot be pressed.
  QVERIFY(!find->findNextButton()->isEnabled());
  find->findEdit()->setText(QString(300, QLatin1Char('x')));
  QCOMPARE(find->findEdit()->text().size(), 255);
  QVERIFY(find->findNextButton()->isEnabled());

  f.run("Csere1");
  ReplaceDialog* replace = f.replaceBox();
  QVERIFY(replace->isVisible() && !replace->isModal());
  QCOMPARE(replace->objectName(), QStringLiteral("ReplaceDialog1"));
  QCOMPARE(replace->findEdit()->maxLength(), 255);
  QCOMPARE(replace->replaceEdit()->maxLength(), 255);
  matchCase = replace->findChild<QCheckBox*>(QStringLiteral("matchCaseCheck"));
  QVERIFY(matchCase && matchCase->isChecked() && !matchCase->isEnabled());
  whole = replace->findChild<QCheckBox*>(QStringLiteral("wholeWordCheck"));
  QVERIFY(whole && !whole->isEnabled());
  QVERIFY(!replace->replaceAllButton()->isEnabled());
  QVERIFY(find->isVisible()); // both boxes may be open at once
}

void FindReplaceTest::findStepsThroughOverlaps() {
  Boxes f;
  f.put(QStringLiteral("aaaa"));
  f.run("Find1");
  f.find(QStringLiteral("aa"));
  QCOMPARE(f.selection(), qMakePair(0, 2));
  f.find(QStringLiteral("aa"));
  QCOMPARE(f.selection(), qMakePair(1, 2));
  f.find(QStringLiteral("aa"));
  QCOMPARE(f.selection(), qMakePair(2, 2));
  f.find(QStringLiteral("aa"));
  QCOMPARE(f.selection(), qMakePair(2, 2)); // no wrap, nothing new
  QCOMPARE(f.fr().findStart().value, 3);
  QVERIFY(f.services.prompts.asked.isEmpty());
  // The box keeps the focus; the editor's text is untouched.
  QTRY_VERIFY(f.findBox()->isActiveWindow());
  QVERIFY(!f.editor().textDocument().isModified());
}

void FindReplaceTest::findIsCaseSensitiveAndSilent() {
  Boxes f;
  f.put(QStringLiteral("one word\r\nthe Words"), 1, 2);
  f.run("Find1");
  f.find(QStringLiteral("Word"));
  QCOMPARE(f.selection(), qMakePair(14, 4)); // after the line break, counted two
  f.run("Find1");
  f.editor().setSelection(tessera::TextPosition(1), 2);
  f.find(QStringLiteral("WORD"));
  QCOMPARE(f.selection(), qMakePair(1, 2));
  QCOMPARE(f.fr().findStart().value, 0);
  QVERIFY(f.services.prompts.asked.isEmpty());
  QCOMPARE(f.services.prompts.beeps, 0);
}

void FindReplaceTest::findAgainStartsAtTop() {
  Boxes f;
  f.put(QStringLiteral("x.x.x"));
  f.run("Find1");
  for (int i = 0; i < 4; ++i)
    f.find(QStringLiteral("x"));
  QCOMPARE(f.selection(), qMakePair(4, 1));
  // Find... again (from the keyboard, in the editor) starts from the top,
  // and the box keeps its text.
  f.focusEditor();
  f.key(Qt::Key_F, Qt::ControlModifier);
  QCOMPARE(f.findBox()->findText(), QStringLiteral("x"));
  f.findBox()->findNextButton()->click();
  QCOMPARE(f.selection(), qMakePair(0, 1));
}

void FindReplaceTest::replaceSteps_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("caret");
  QTest::addColumn<QString>("what");
  QTest::addColumn<QString>("with");
  QTest::addColumn<int>("presses");
  QTest::addColumn<QString>("expected");
  QTest::addColumn<int>("caretAfter");
  QTest::newRow("a to ab twice replaces both") << "a a" << 0 << "a"
                                               << "ab" << 2 << "ab ab" << 5;
  QTest::newRow("from the caret on") << "a a a" << 1 << "a"
                                     << "b" << 1 << "a b a" << 3;
  QTest::newRow("wraps to the top once") << "a a" << 3 << "a"
                                         << "c" << 1 << "c a" << 1;
  QTest::newRow("three presses, three hits") << "x1 x2 x3" << 0 << "x"
                                             << "" << 3 << "1 2 3" << 4;
  QTest::newRow("across a line break") << "ab\r\ncd" << 0 << "b\r\nc"
                                       << "-" << 1 << "a-d" << 2;
}

void FindReplaceTest::replaceSteps() {
  QFETCH(QString, text);
  QFETCH(int, caret);
  QFETCH(QString, what);
  QFETCH(QString, with);
  QFETCH(int, presses);
  QFETCH(QString, expected);
  QFETCH(int, caretAfter);
  Boxes f;
  f.put(text, caret);
  f.run("Csere1");
  for (int i = 0; i < presses; ++i)
    f.replace(what, with);
  QCOMPARE(f.editor().textDocument().wholeText(), expected);
  QCOMPARE(f.selection(), qMakePair(caretAfter, 0));
  QVERIFY(f.editor().textDocument().isModified());
  QVERIFY(f.services.prompts.asked.isEmpty());
  QVERIFY(f.replaceBox()->isVisible()); // the box stays open
}

void FindReplaceTest::replaceNotFound() {
  Boxes f;
  f.put(QStringLiteral("Alpha"), 2, 1);
  f.run("Csere1");
  for (bool all : {false, true}) {
    f.services.prompts.clear();
    f.replace(QStringLiteral("alpha"), QStringLiteral("x"), all);
    QCOMPARE(f.services.prompts.asked.size(), 1);
    const auto& asked = f.services.prompts.asked.first();
    QCOMPARE(asked.caption, QStringLiteral("Error"));
    QCOMPARE(asked.icon, QMessageBox::Critical);
    QCOMPARE(asked.text, QStringLiteral("\"alpha\" not found."));
    QCOMPARE(asked.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("Alpha"));
    QCOMPARE(f.selection(), qMakePair(2, 1));
    QVERIFY(!f.editor().textDocument().isModified());
  }
}

void FindReplaceTest::replaceAllIsOneProgramEdit() {
  Boxes f;
  f.put(QStringLiteral("x1 x2\r\nx3 tail"), 0);
  f.focusEditor();
  f.type(QStringLiteral("y")); // something the user could undo
  f.run("Csere1");
  QSignalSpy changes(f.editor().document(), &QTextDocument::contentsChange);
  f.replace(QStringLiteral("x"), QStringLiteral("xx"), true);
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("yxx1 xx2\r\nxx3 tail"));
  QCOMPARE(changes.count(), 1);
  QCOMPARE(f.selection(), qMakePair(12, 0)); // after the last replacement
  f.run("Visszavons1");
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("yxx1 xx2\r\nxx3 tail"));
  // Again: the new text is searched anew, and every "x" doubles once.
  f.replace(QStringLiteral("x"), QStringLiteral("xx"), true);
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("yxxxx1 xxxx2\r\nxxxx3 tail"));
}

// Close together or far apart (one piece or one edit per occurrence), the
// result is what replacing in the plain text gives, line breaks, tabs,
// line separators and surrogate pairs included, with the caret after the
// last replacement.
void FindReplaceTest::replaceAllMatchesAPlainReplace() {
  Boxes f;
  const QString pieces[] = {QStringLiteral("ab"),      QStringLiteral("a"),
                            QStringLiteral("b\r\n"),   QStringLiteral("\t"),
                            QStringLiteral("\u2028"),  QStringLiteral("\U0001F600"),
                            QStringLiteral("\r\n\r\n")};
  const QString needles[] = {QStringLiteral("ab"), QStringLiteral("b\r\na"), QStringLiteral("a"),
                             QStringLiteral("\U0001F600")};
  const QString replacements[] = {QString(), QStringLiteral("xyz"), QStringLiteral("\r\n"),
                                  QStringLiteral("ab"), QStringLiteral("\u2028\t")};
  const QString filler(100, QLatin1Char('.'));
  QRandomGenerator random(5);
  for (int round = 0; round < 40; ++round) {
    const bool farApart = round % 2;
    QString text;
    for (int i = 0; i < 60; ++i) {
      text += pieces[random.bounded(7)];
      if (farApart)
        text += filler;
    }
    const QString& needle = needles[random.bounded(4)];
    const QString& replacement = replacements[random.bounded(5)];
    const qsizetype lastHit = text.lastIndexOf(needle);
    if (lastHit < 0)
      continue;
    f.put(text);
    QString expected = text;
    expected.replace(needle, replacement);
    QVERIFY(f.fr().replaceAll(needle, replacement));
    QCOMPARE(f.editor().textDocument().wholeText(), expected);
    // Where the last replacement ends, counted in the finished text.
    const QString tail = text.mid(lastHit + needle.size());
    QCOMPARE(f.selection(), qMakePair(int(expected.size() - tail.size()), 0));
  }
}

void FindReplaceTest::replaceBoxFindNext() {
  Boxes f;
  f.put(QStringLiteral("cat, cat"), 5);
  f.run("Csere1");
  f.replaceBox()->findEdit()->setText(QStringLiteral("cat"));
  f.replaceBox()->replaceEdit()->setText(QStringLiteral("dog"));
  f.replaceBox()->findNextButton()->click();
  QCOMPARE(f.selection(), qMakePair(0, 3));
  f.replaceBox()->findNextButton()->click();
  QCOMPARE(f.selection(), qMakePair(5, 3));
  // Replace takes the selected occurrence.
  f.replaceBox()->replaceButton()->click();
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("cat, dog"));
}

void FindReplaceTest::searchTextWithLineBreaks() {
  Boxes f;
  f.put(QStringLiteral("ab\r\nab\r\nab"));
  f.run("Find1");
  QVERIFY(f.fr().findNext(QStringLiteral("\r\nab")));
  QCOMPARE(f.selection(), qMakePair(2, 4));
  QCOMPARE(f.editor().selectedText(), QStringLiteral("\r\nab"));
  QVERIFY(f.fr().findNext(QStringLiteral("\r\nab"))); // from inside the break
  QCOMPARE(f.selection(), qMakePair(6, 4));
  QVERIFY(!f.fr().findNext(QStringLiteral("\r\nab")));
  QVERIFY(f.fr().replaceAll(QStringLiteral("b\r\na"), QStringLiteral("-")));
  QCOMPARE(f.editor().textDocument().wholeText(), QStringLiteral("a--b"));
  QCOMPARE(f.selection(), qMakePair(3, 0));
}

void FindReplaceTest::closingBoxes() {
  Boxes f;
  f.field->setText(QStringLiteral("f"));
  f.focusField();
  f.run("Csere1");
  QTRY_VERIFY(f.replaceBox()->isActiveWindow());
  f.replaceBox()->cancelButton()->click();
  QVERIFY(!f.replaceBox()->isVisible());
  QTRY_VERIFY(f.editor().hasFocus());

  f.focusField();
  f.run("Find1");
  QTRY_VERIFY(f.findBox()->isActiveWindow());
  f.findBox()->cancelButton()->click();
  QVERIFY(!f.findBox()->isVisible());
  QCOMPARE(f.window.focusWidget(), f.field); // where it was
  QVERIFY(!f.editor().hasFocus());
}

void FindReplaceTest::resultScrolledIntoView_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<int>("caretLine"); // counted from 0
  QTest::newRow("find next") << "find" << 400;
  QTest::newRow("replace") << "replace" << 400;
  QTest::newRow("replace all, caret after the last") << "replace all" << 450;
  QTest::newRow("go to line") << "go to line" << 299;
}

// Whatever selects far down the text scrolls it into view, and a found
// text stays highlighted while the box keeps the focus.
void FindReplaceTest::resultScrolledIntoView() {
  QFETCH(QString, command);
  QFETCH(int, caretLine);
  Boxes f;
  QStringList lines;
  for (int i = 0; i < 500; ++i)
    lines << QStringLiteral("line %1").arg(i) +
                 (i == 10 || i == 400 || i == 450 ? QStringLiteral(" target") : QString());
  f.put(lines.join(QStringLiteral("\r\n")), 0, 0);
  f.editor().setSelection(TextPosition(f.editor().textDocument().end().value - 5), 0);
  // A desktop whose inactive selection shows differently (or not at all).
  QPalette desktop = f.editor().palette();
  desktop.setBrush(QPalette::Inactive, QPalette::Highlight, QColor(Qt::lightGray));
  desktop.setBrush(QPalette::Inactive, QPalette::HighlightedText, QColor(Qt::darkGray));
  f.editor().setPalette(desktop);
  if (command == QLatin1String("find")) {
    f.editor().setSelection(TextPosition(0), 0);
    f.run("Find1");
    f.find(QStringLiteral("line 400 target"));
  } else if (command == QLatin1String("replace")) {
    f.editor().setSelection(TextPosition(0), 0);
    f.run("Csere1");
    f.editor().setSelection(f.editor().lineStart(300), 0);
    f.replace(QStringLiteral("target"), QStringLiteral("hit"));
  } else if (command == QLatin1String("replace all")) {
    f.editor().setSelection(TextPosition(0), 0);
    f.run("Csere1");
    f.replace(QStringLiteral("target"), QStringLiteral("hit"), true);
    QCOMPARE(f.editor().textDocument().wholeText().count(QStringLiteral("hit")), 3);
  } else {
    f.editor().setSelection(TextPosition(0), 0);
    selectEditorLine(f.editor(), caretLine + 1);
  }
  SourceEditor& editor = f.editor();
  QCOMPARE(editor.lineOfPosition(editor.cursorPosition()), caretLine);
  QVERIFY(editor.verticalScrollBar()->value() > 0);
  QVERIFY(editor.viewport()->rect().contains(editor.cursorRect()));
  if (command == QLatin1String("find")) {
    const QPalette colours = editor.palette();
    QCOMPARE(colours.brush(QPalette::Inactive, QPalette::Highlight),
             colours.brush(QPalette::Active, QPalette::Highlight));
    QCOMPARE(colours.brush(QPalette::Inactive, QPalette::HighlightedText),
             colours.brush(QPalette::Active, QPalette::HighlightedText));
  }
}

QTEST_MAIN(FindReplaceTest)
#include "tst_findreplace.moc"
