#include "editor/BlockLookup.h"
#include "editor/DisplayRows.h"
#include "editor/RowTree.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <vector>

using tessera::DisplayRows;
using tessera::RowColumn;
using tessera::RowTree;
using tessera::SourceEditor;

Q_DECLARE_METATYPE(tessera::RowColumn)

namespace {

// Where every display row starts (widget positions), as the editor's own
// layout breaks the lines: each block is laid out by the editor itself.
QList<int> editorRowStarts(QPlainTextEdit& edit) {
  QAbstractTextDocumentLayout* layout = edit.document()->documentLayout();
  QList<int> starts;
  for (QTextBlock b = edit.document()->firstBlock(); b.isValid(); b = b.next()) {
    layout->blockBoundingRect(b);
    const QTextLayout* lines = b.layout();
    if (lines->lineCount() == 0)
      starts << b.position();
    for (int i = 0; i < lines->lineCount(); ++i)
      starts << b.position() + lines->lineAt(i).textStart();
  }
  return starts;
}

// Compares every answer of `rows` with the editor's layout; `probes` random
// positions and rows keep it quick on larger texts.
void expectSameAsEditor(QPlainTextEdit& edit, const DisplayRows& rows, QRandomGenerator& random,
                        int probes = 40) {
  const QList<int> starts = editorRowStarts(edit);
  const QTextDocument* doc = edit.document();
  const bool dropLast = doc->blockCount() > 1 && doc->lastBlock().length() <= 1;
  const int expectedCount = int(starts.size()) - (dropLast ? 1 : 0);
  const int length = doc->characterCount(); // includes the final separator
  for (int k = 0; k < probes; ++k) {
    const int position = random.bounded(length);
    const int expectedRow =
        int(std::upper_bound(starts.begin(), starts.end(), position) - starts.begin()) - 1;
    QCOMPARE(rows.rowOfQtPosition(tessera::QtPosition(position)), expectedRow);
    const int row = random.bounded(int(starts.size()));
    QCOMPARE(rows.rowStart(row).value, starts[row]);
  }
  QCOMPARE(rows.rowCount(), expectedCount);
  QCOMPARE(rows.rowStart(int(starts.size()) - 1).value, starts.last());
  QCOMPARE(rows.rowStart(int(starts.size()) + 5).value, starts.last()); // past the end clamps
}

QString randomText(QRandomGenerator& random, int words) {
  static const QStringList pieces = {
      QStringLiteral("<card id=\"c1\">"),
      QStringLiteral("word"),
      QStringLiteral("a"),
      QStringLiteral("  "),
      QStringLiteral("\r\n"),
      QStringLiteral("WWWWWWWWWWWW"),
      QStringLiteral("\t"),
      QStringLiteral("é"),
      QStringLiteral("日本語"),
      QStringLiteral("averyveryveryverylongwordwithoutanybreakopportunityinsideitatall"),
      QStringLiteral("<p align=\"center\">"),
      QStringLiteral("&amp;"),
      QStringLiteral("x y z")};
  QString text;
  for (int i = 0; i < words; ++i) {
    text += pieces[random.bounded(int(pieces.size()))];
    text += QLatin1Char(' ');
  }
  return text;
}

// One random edit of the cursor's document: every fourth step a deletion of
// up to eight characters, else an insertion, some of it many lines; edits
// like these keep rebalancing the document's tree of lines.
void editAtRandom(QTextCursor& cursor, QRandomGenerator& random, int step) {
  static const QString pieces[] = {QStringLiteral("a"), QStringLiteral("\n"),
                                   QStringLiteral("line\n"), QStringLiteral("\n\n\n"),
                                   QStringLiteral("long text without breaks")};
  const int length = cursor.document()->characterCount() - 1;
  cursor.setPosition(int(random.bounded(length + 1)));
  if (step % 4 == 3) {
    cursor.setPosition(std::min(length, cursor.position() + int(random.bounded(8))),
                       QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  } else {
    cursor.insertText(pieces[random.bounded(5)]);
  }
}

} // namespace

class DisplayRowsTest : public QObject {
  Q_OBJECT

private slots:
  void treeMatchesPlainSums_data();
  void treeMatchesPlainSums();
  void randomEditsMatchEditor_data();
  void randomEditsMatchEditor();
  void widthAndFontChanges();
  void lineWrappingIntoManyRows_data();
  void lineWrappingIntoManyRows();
  void warmsUpInIdleTime();
  void statusFollowsTypingUnderWrap();
  void wholeTextComparison_data();
  void blockLookupMatchesTheToolkits();
  void rememberedLineMatchesTheToolkits_data();
  void rememberedLineMatchesTheToolkits();
  void statusFollowsKeysThroughLines_data();
  void statusFollowsKeysThroughLines();
  void wholeTextComparison();
};

void DisplayRowsTest::treeMatchesPlainSums_data() {
  QTest::addColumn<quint32>("seed");
  QTest::addColumn<int>("startSize");
  QTest::newRow("empty start") << 1u << 0;
  QTest::newRow("small") << 2u << 7;
  QTest::newRow("power of two") << 3u << 64;
  QTest::newRow("larger") << 4u << 1000;
}

void DisplayRowsTest::treeMatchesPlainSums() {
  QFETCH(quint32, seed);
  QFETCH(int, startSize);
  QRandomGenerator random(seed);
  RowTree tree;
  tree.assign(startSize, 1);
  std::vector<int> plain(startSize, 1);
  for (int step = 0; step < 400; ++step) {
    const int op = random.bounded(3);
    if (op == 0 && !plain.empty()) {
      const int i = random.bounded(int(plain.size()));
      const int v = random.bounded(5);
      tree.set(i, v);
      plain[i] = v;
    } else {
      const int first = random.bounded(int(plain.size()) + 1);
      const int removed = random.bounded(int(plain.size()) - first + 1);
      std::vector<int> added(random.bounded(op == 1 ? 4 : 300));
      for (int& v : added)
        v = random.bounded(6);
      tree.splice(first, removed, added);
      plain.erase(plain.begin() + first, plain.begin() + first + removed);
      plain.insert(plain.begin() + first, added.begin(), added.end());
    }
    QCOMPARE(tree.size(), int(plain.size()));
    int sum = 0;
    for (int i = 0; i <= int(plain.size()); ++i) {
      QCOMPARE(tree.prefix(i), sum);
      if (i < int(plain.size()))
        sum += plain[i];
    }
    const int target = sum > 0 ? random.bounded(sum + 2) : 0;
    int running = 0, expected = 0;
    while (expected < int(plain.size()) && running + plain[expected] <= target)
      running += plain[expected++];
    QCOMPARE(tree.lowerBound(target), expected);
  }
}

void DisplayRowsTest::randomEditsMatchEditor_data() {
  QTest::addColumn<quint32>("seed");
  QTest::addColumn<int>("width");
  QTest::newRow("narrow") << 11u << 180;
  QTest::newRow("medium") << 12u << 420;
  QTest::newRow("wide") << 13u << 900;
}

// Small edits, large pastes, deletions across lines and undo, with the cache
// asked between them so every update path is taken from a warm state.
void DisplayRowsTest::randomEditsMatchEditor() {
  QFETCH(quint32, seed);
  QFETCH(int, width);
  QRandomGenerator random(seed);
  SourceEditor edit;
  edit.resize(width, 300);
  edit.show();
  QVERIFY(QTest::qWaitForWindowExposed(&edit));
  DisplayRows rows(edit);
  edit.textDocument().replaceWholeText(randomText(random, 300));
  for (int step = 0; step < 120; ++step) {
    QTextCursor cursor = edit.textCursor();
    const int length = edit.document()->characterCount() - 1;
    cursor.setPosition(random.bounded(length + 1));
    switch (random.bounded(5)) {
    case 0: // a pasted piece of many lines
      cursor.insertText(
          QString(QStringLiteral("line of text\n")).repeated(random.bounded(60, 140)));
      break;
    case 1: { // a deletion, possibly across lines
      const int to = std::min(length, cursor.position() + random.bounded(200));
      cursor.setPosition(to, QTextCursor::KeepAnchor);
      cursor.removeSelectedText();
      break;
    }
    case 2: edit.undoStep(); break;
    default: cursor.insertText(randomText(random, random.bounded(1, 20)));
    }
    if (step % 3 == 0)
      expectSameAsEditor(edit, rows, random, 12);
    if (QTest::currentTestFailed())
      QFAIL(qPrintable(QStringLiteral("diverged after step %1").arg(step)));
  }
  expectSameAsEditor(edit, rows, random, 200);
}

void DisplayRowsTest::widthAndFontChanges() {
  QRandomGenerator random(21);
  SourceEditor edit;
  edit.resize(500, 300);
  edit.show();
  QVERIFY(QTest::qWaitForWindowExposed(&edit));
  DisplayRows rows(edit);
  edit.textDocument().replaceWholeText(randomText(random, 600));
  expectSameAsEditor(edit, rows, random);
  for (const int width : {260, 731, 140, 1200}) {
    edit.resize(width, 300);
    expectSameAsEditor(edit, rows, random);
  }
  for (const int points : {20, 8, 13}) {
    QFont font = edit.font();
    font.setPointSize(points);
    edit.setFont(font);
    expectSameAsEditor(edit, rows, random);
  }
  edit.setLineWrapMode(QPlainTextEdit::NoWrap);
  QCOMPARE(rows.rowCount(), edit.document()->blockCount());
  edit.textCursor().insertText(QStringLiteral("edited while wrap was off\nsecond\n"));
  edit.setLineWrapMode(QPlainTextEdit::WidgetWidth);
  expectSameAsEditor(edit, rows, random);
}

void DisplayRowsTest::lineWrappingIntoManyRows_data() {
  QTest::addColumn<QString>("line");
  QString words, tabs, mixed;
  for (int i = 0; i < 800; ++i) {
    words += QStringLiteral("word%1 ").arg(i);
    tabs += QStringLiteral("\tcol%1").arg(i);
    mixed += i % 7 == 0 ? QStringLiteral("日本語のテキスト ") : QStringLiteral("abc&nbsp; ");
  }
  QTest::newRow("words") << words;
  QTest::newRow("no break opportunity") << QString(6000, QLatin1Char('m'));
  QTest::newRow("tabs") << tabs;
  QTest::newRow("mixed scripts") << mixed;
  // Longer than what is measured apart: the toolkit's own layout counts.
  QTest::newRow("long line measured from the screen's layout") << words.repeated(4);
  QTest::newRow("long line without a break opportunity") << QString(40000, QLatin1Char('m'));
}

void DisplayRowsTest::lineWrappingIntoManyRows() {
  QFETCH(QString, line);
  QRandomGenerator random(31);
  SourceEditor edit;
  edit.resize(400, 300);
  edit.show();
  QVERIFY(QTest::qWaitForWindowExposed(&edit));
  DisplayRows rows(edit);
  edit.textDocument().replaceWholeText(QStringLiteral("first\r\n") + line +
                                       QStringLiteral("\r\nlast\r\n"));
  QVERIFY(rows.rowCount() > 20);
  expectSameAsEditor(edit, rows, random, 100);
  // Typing inside the long line moves its later rows.
  QTextCursor cursor = edit.textCursor();
  cursor.setPosition(20);
  cursor.insertText(QStringLiteral("inserted words here "));
  expectSameAsEditor(edit, rows, random, 100);
}

void DisplayRowsTest::warmsUpInIdleTime() {
  QRandomGenerator random(41);
  SourceEditor edit;
  edit.resize(500, 300);
  edit.show();
  QVERIFY(QTest::qWaitForWindowExposed(&edit));
  DisplayRows rows(edit);
  edit.textDocument().replaceWholeText(randomText(random, 5000));
  QTRY_VERIFY(rows.isWarm());
  edit.resize(300, 300);
  QVERIFY(!rows.isWarm());    // a new width voids the counts...
  QTRY_VERIFY(rows.isWarm()); // ...which are measured again without being asked
  expectSameAsEditor(edit, rows, random);
}

// The status line reads the rows inside the change handling, so the counts
// must already follow the edit then.
void DisplayRowsTest::statusFollowsTypingUnderWrap() {
  SourceEditor edit;
  edit.resize(300, 300);
  edit.show();
  QVERIFY(QTest::qWaitForWindowExposed(&edit));
  QString words;
  for (int i = 0; i < 40; ++i)
    words += QStringLiteral("word%1 ").arg(i);
  edit.textDocument().replaceWholeText(words + QStringLiteral("\r\nend"));
  edit.lineCount();
  QSignalSpy spy(&edit, &SourceEditor::statusChanged);
  edit.setSelection(tessera::TextPosition(edit.textDocument().textLength()), 0);
  QTest::keyClicks(&edit, QStringLiteral(" and more words typed at the very end of the text"));
  const QList<int> starts = editorRowStarts(edit);
  const int caret = edit.textCursor().position();
  const int row = int(std::upper_bound(starts.begin(), starts.end(), caret) - starts.begin()) - 1;
  QVERIFY(row >= 4);
  QCOMPARE(spy.last().at(0).value<RowColumn>().row, row);
  QCOMPARE(spy.last().at(0).value<RowColumn>().column, caret - starts[row]);
}

void DisplayRowsTest::wholeTextComparison_data() {
  QTest::addColumn<QString>("held");
  QTest::addColumn<QString>("offered");
  QTest::addColumn<bool>("same");
  QTest::newRow("equal") << "ab\r\ncd\r\n"
                         << "ab\r\ncd\r\n"
                         << true;
  QTest::newRow("empty") << ""
                         << "" << true;
  QTest::newRow("break moved, same length") << "ab\r\ncd"
                                            << "abc\r\nd" << false;
  QTest::newRow("one character differs") << "ab\r\ncd"
                                         << "ab\r\ncx" << false;
  QTest::newRow("lone LF is not CR LF") << "ab\r\ncd"
                                        << "ab\n\ncd" << false;
  QTest::newRow("longer") << "ab"
                          << "abc" << false;
  QTest::newRow("final break") << "ab\r\n"
                               << "ab" << false;
}

void DisplayRowsTest::wholeTextComparison() {
  QFETCH(QString, held);
  QFETCH(QString, offered);
  QFETCH(bool, same);
  SourceEditor edit;
  edit.textDocument().replaceWholeText(held);
  QCOMPARE(edit.textDocument().holdsText(offered), same);
  edit.textDocument().setModified(false);
  QCOMPARE(edit.textDocument().replaceWholeText(offered), !same);
  QCOMPARE(edit.textDocument().isModified(), !same);
  QCOMPARE(edit.textDocument().wholeText(),
           offered.replace(QLatin1String("\n\n"), QLatin1String("\r\n\r\n")));
}

// A fresh line look-up (no line remembered) against the toolkit, at every position,
// through random edits that rebalance the document's tree of lines.
void DisplayRowsTest::blockLookupMatchesTheToolkits() {
  QTextDocument document;
  QTextCursor cursor(&document);
  QRandomGenerator random(11);
  for (int step = 0; step < 600; ++step) {
    editAtRandom(cursor, random, step);
    if (step % 100 != 99)
      continue;
    for (int at = 0; at < document.characterCount(); ++at) {
      const QTextBlock block = document.findBlock(at);
      const tessera::BlockAt found = tessera::LineLookup().at(document, tessera::QtPosition(at));
      QCOMPARE(found.number, block.blockNumber());
      QCOMPARE(found.start.value, block.position());
    }
  }
  const tessera::BlockAt past =
      tessera::LineLookup().at(document, tessera::QtPosition(document.characterCount() + 5));
  QCOMPARE(past.number, document.blockCount() - 1);
  QCOMPARE(past.start.value, document.lastBlock().position());
}

void DisplayRowsTest::rememberedLineMatchesTheToolkits_data() {
  QTest::addColumn<int>("walk");
  QTest::newRow("forwards") << 0;
  QTest::newRow("backwards") << 1;
  QTest::newRow("random") << 2;
  QTest::newRow("two lines at a time") << 3;
}

// The remembered line, asked in orders that take each of its paths (the same
// line, the next, the previous, a jump), between edits it is told of.
void DisplayRowsTest::rememberedLineMatchesTheToolkits() {
  QFETCH(int, walk);
  QTextDocument document;
  QTextCursor cursor(&document);
  QRandomGenerator random(23 + walk);
  const tessera::LineLookup lookup;
  for (int step = 0; step < 400; ++step) {
    editAtRandom(cursor, random, step);
    lookup.forget();
    if (step % 50 != 49)
      continue;
    const int count = document.characterCount();
    for (int i = 0; i < count; ++i) {
      int at = i;
      if (walk == 1)
        at = count - 1 - i;
      else if (walk == 2)
        at = int(random.bounded(count));
      else if (walk == 3)
        at = (i % 2) ? document.findBlock(i).next().position() : i;
      if (at < 0)
        continue;
      const QTextBlock block = document.findBlock(at);
      const tessera::BlockAt found = lookup.at(document, tessera::QtPosition(at));
      QCOMPARE(found.number, block.blockNumber());
      QCOMPARE(found.start.value, block.position());
      QCOMPARE(lookup.block(), block);
    }
  }
  const tessera::BlockAt past =
      lookup.at(document, tessera::QtPosition(document.characterCount() + 5));
  QCOMPARE(past.number, document.blockCount() - 1);
  QCOMPARE(past.start.value, document.lastBlock().position());
}

void DisplayRowsTest::statusFollowsKeysThroughLines_data() {
  QTest::addColumn<bool>("wrap");
  QTest::newRow("wrap off") << false;
  QTest::newRow("wrap on") << true;
}

// The status line's row after each key that moves the caret across lines or
// makes and joins lines, against the editor's own layout.
void DisplayRowsTest::statusFollowsKeysThroughLines() {
  QFETCH(bool, wrap);
  SourceEditor edit;
  edit.resize(300, 300);
  edit.setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  edit.show();
  QVERIFY(QTest::qWaitForWindowExposed(&edit));
  QString text;
  for (int i = 0; i < 30; ++i)
    text += QStringLiteral("line %1 with some words to wrap at a narrow width\r\n").arg(i);
  edit.textDocument().replaceWholeText(text);
  edit.setSelection(tessera::TextPosition(0), 0);
  const QList<int> keys = {Qt::Key_Down,     Qt::Key_Down,      Qt::Key_End,  Qt::Key_Right,
                           Qt::Key_Return,   Qt::Key_Return,    Qt::Key_Up,   Qt::Key_Backspace,
                           Qt::Key_Home,     Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Delete,
                           Qt::Key_PageDown, Qt::Key_Up,        Qt::Key_Down, Qt::Key_Return};
  for (const int key : keys) {
    QTest::keyClick(&edit, Qt::Key(key));
    const QList<int> starts = editorRowStarts(edit);
    const int caret = edit.textCursor().position();
    const int row = int(std::upper_bound(starts.begin(), starts.end(), caret) - starts.begin()) - 1;
    QCOMPARE(edit.rowColumn().row, row);
    QCOMPARE(edit.rowColumn().column, caret - starts[row]);
  }
}

QTEST_MAIN(DisplayRowsTest)
#include "tst_displayrows.moc"
