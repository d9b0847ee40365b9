#include "editing/EditingFixture.h"

#include "app/StatusLine.h"
#include "document/DefaultDocument.h"
#include "editing/EditingCommands.h"
#include "editing/GotoLineDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>

using namespace tessera;

class GotoLineTest : public QObject {
  Q_OBJECT

private slots:
  void entries_data();
  void entries();
  void zeroComesBackAsOne();
  void digitFilter();
  void wrappedRow_data();
  void wrappedRow();
  void cancelMovesNothing();
};

struct GotoFixture : EditingFixture {
  GotoLineDialog* dialog() { return window.editing()->gotoLineDialog(); }
  // Runs Go to Line from its menu item; `inside` acts on the shown window.
  // Returns whether the window was still open after `inside`.
  bool runGoto(const std::function<void(GotoLineDialog*)>& inside) {
    bool stillOpen = false;
    QTimer::singleShot(0, dialog(), [&] {
      inside(dialog());
      stillOpen = dialog()->isVisible();
      if (stillOpen)
        dialog()->reject();
    });
    run("GotoLine1");
    return stillOpen;
  }
  bool enter(const QString& number) {
    return runGoto([&](GotoLineDialog* d) {
      d->numberEdit()->setText(number);
      d->okButton()->click();
    });
  }
};

void GotoLineTest::entries_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("entry");
  QTest::addColumn<QString>("highest");
  QTest::addColumn<QString>("message"); // empty: the window closed
  QTest::addColumn<int>("selStart");
  QTest::addColumn<int>("selLength");

  const QString doc = defaultDocument(); // 12 lines, ends with a break
  const int docLength = int(doc.size());
  const QString wrong = QStringLiteral("Wrong number!");
  QTest::newRow("empty document, 1") << ""
                                     << "1"
                                     << "1"
                                     << "" << 0 << 0;
  QTest::newRow("empty document, 2") << ""
                                     << "2"
                                     << "1" << wrong << 0 << 0;
  QTest::newRow("12 lines, 13: the end") << doc << "13"
                                         << "13"
                                         << "" << docLength << 0;
  QTest::newRow("12 lines, 14") << doc << "14"
                                << "13" << wrong << 0 << 0;
  QTest::newRow("zero") << doc << "0"
                        << "13" << wrong << 0 << 0;
  QTest::newRow("beyond 32 bits") << doc << "99999999999"
                                  << "13"
                                  << "'99999999999' is not a valid integer value." << 0 << 0;
  QTest::newRow("empty entry") << doc << ""
                               << "13"
                               << "'' is not a valid integer value." << 0 << 0;
  QTest::newRow("second line selected") << "ab\r\ncd\r\nef"
                                        << "2"
                                        << "4"
                                        << "" << 4 << 2;
  QTest::newRow("leading zeros") << "ab\r\ncd\r\nef"
                                 << "003"
                                 << "4"
                                 << "" << 8 << 2;
  QTest::newRow("empty line") << "ab\r\n\r\nef"
                              << "2"
                              << "4"
                              << "" << 4 << 0;
  QTest::newRow("past a last line without break") << "ab\r\ncd"
                                                  << "3"
                                                  << "3"
                                                  << "" << 6 << 0;
}

void GotoLineTest::entries() {
  QFETCH(QString, text);
  QFETCH(QString, entry);
  QFETCH(QString, highest);
  QFETCH(QString, message);
  QFETCH(int, selStart);
  QFETCH(int, selLength);
  GotoFixture f;
  f.editor().setLineWrapMode(QPlainTextEdit::NoWrap);
  f.put(text);
  QString shownHighest, shownRange;
  const bool stillOpen = f.runGoto([&](GotoLineDialog* d) {
    shownHighest = d->rangeLabel()->text();
    shownRange = d->findChild<QLabel*>(QStringLiteral("Label1"))->text();
    d->numberEdit()->setText(entry);
    d->okButton()->click();
  });
  QCOMPARE(shownRange, QStringLiteral("Go to 1 -"));
  QCOMPARE(shownHighest, highest);
  QCOMPARE(stillOpen, !message.isEmpty());
  if (message.isEmpty()) {
    QVERIFY(f.services.prompts.asked.isEmpty());
  } else {
    QCOMPARE(f.services.prompts.asked.size(), 1);
    QCOMPARE(f.services.prompts.asked.first().text, message);
    QCOMPARE(f.services.prompts.asked.first().caption, QStringLiteral("WML Tessera 1.0"));
  }
  QCOMPARE(f.editor().selectionStart().value, selStart);
  QCOMPARE(f.editor().selectionLength(), selLength);
  QCOMPARE(f.editor().textDocument().wholeText(), text);
  // Moving the caret is not a change of the text.
  QVERIFY(!f.editor().textDocument().isModified());
  if (message.isEmpty()) {
    QTRY_VERIFY(f.editor().hasFocus());
    const int row = f.editor().rowColumn().row + 1;
    QCOMPARE(f.window.statusLine()->panelText(StatusLine::RowPanel),
             QStringLiteral("Row: %1").arg(row));
  }
}

void GotoLineTest::zeroComesBackAsOne() {
  GotoFixture f;
  QVERIFY(f.enter(QStringLiteral("0")));
  QString shown;
  f.runGoto([&](GotoLineDialog* d) {
    shown = d->numberEdit()->text();
    QVERIFY(d->numberEdit()->hasFocus());
    QCOMPARE(d->numberEdit()->selectedText(), shown); // typing replaces it
  });
  QCOMPARE(shown, QStringLiteral("1"));
  // Any other entry is kept for the next time.
  QVERIFY(!f.enter(QStringLiteral("5")));
  f.runGoto([&](GotoLineDialog* d) { shown = d->numberEdit()->text(); });
  QCOMPARE(shown, QStringLiteral("5"));
}

void GotoLineTest::digitFilter() {
  GotoFixture f;
  f.put(QStringLiteral("a\r\nb\r\nc\r\nd"));
  QString typed;
  int beepsInside = 0;
  const bool stillOpen = f.runGoto([&](GotoLineDialog* d) {
    QLineEdit* edit = d->numberEdit();
    QTest::keyClicks(edit, QStringLiteral("4x 2"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Return); // beeps, presses nothing
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    typed = edit->text();
    beepsInside = f.services.prompts.beeps;
  });
  QCOMPARE(typed, QStringLiteral("4"));
  QCOMPARE(beepsInside, 4); // "x", " ", Enter, Ctrl+V
  QVERIFY(stillOpen);
  QCOMPARE(f.editor().selectionStart().value, 0);
}

void GotoLineTest::wrappedRow_data() {
  QTest::addColumn<QString>("blank");    // what separates the words of the long line
  QTest::addColumn<int>("row");          // counted from 1; 0 or less counts back from the last
  QTest::addColumn<bool>("softWrapped"); // whether that row ends where the long line wraps

  const QString space = QStringLiteral(" ");
  const QString twoSpaces = QStringLiteral("  ");
  QTest::newRow("first row") << space << 1 << true;
  QTest::newRow("second row") << space << 2 << true;
  QTest::newRow("third row") << space << 3 << true;
  QTest::newRow("second row, two blanks at the wrap") << twoSpaces << 2 << true;
  QTest::newRow("second row, a tab at the wrap") << QStringLiteral("\t") << 2 << true;
  // The long line's last row ends at its line break and keeps its blank.
  QTest::newRow("last row of the long line") << space << -1 << false;
  QTest::newRow("line after the long line") << space << 0 << false;
}

void GotoLineTest::wrappedRow() {
  QFETCH(QString, blank);
  QFETCH(int, row);
  QFETCH(bool, softWrapped);
  GotoFixture f;
  QString words;
  for (int i = 0; i < 400; ++i)
    words += QStringLiteral("word%1").arg(i) + blank;
  f.put(words + QStringLiteral("\r\nlast"));
  QTRY_VERIFY(f.editor().lineCount() >= 5);
  const int rows = f.editor().lineCount();
  if (row <= 0)
    row += rows;
  QVERIFY(!f.enter(QString::number(row)));

  QString rowText = f.editor().lineText(row - 1);
  QVERIFY(rowText.endsWith(blank) || row == rows);
  if (softWrapped) {
    // The blanks where the row wraps are not part of the selection.
    while (rowText.endsWith(QLatin1Char(' ')) || rowText.endsWith(QLatin1Char('\t')))
      rowText.chop(1);
  }
  QCOMPARE(f.editor().selectionStart().value, f.editor().lineStart(row - 1).value);
  QCOMPARE(f.editor().selectedText(), rowText);
  // The selection ends on the row asked for, and the status line names it.
  QCOMPARE(f.editor().lineOfPosition(f.editor().selectionEnd()), row - 1);
  QCOMPARE(f.window.statusLine()->panelText(StatusLine::RowPanel),
           QStringLiteral("Row: %1").arg(row));
  QCOMPARE(f.editor().textDocument().wholeText(), words + QStringLiteral("\r\nlast"));
}

void GotoLineTest::cancelMovesNothing() {
  GotoFixture f;
  f.put(QStringLiteral("ab\r\ncd"), 1, 1);
  f.runGoto([&](GotoLineDialog* d) {
    d->numberEdit()->setText(QStringLiteral("2"));
    d->cancelButton()->click();
  });
  QCOMPARE(f.editor().selectionStart().value, 1);
  QCOMPARE(f.editor().selectionLength(), 1);
  QVERIFY(f.services.prompts.asked.isEmpty());
  // Neither button is pressed by Enter.
  QVERIFY(!f.dialog()->okButton()->isDefault() && !f.dialog()->okButton()->autoDefault());
  QVERIFY(!f.dialog()->cancelButton()->isDefault() && !f.dialog()->cancelButton()->autoDefault());
}

QTEST_MAIN(GotoLineTest)
#include "tst_gotoline.moc"
