#include "TestServices.h"
#include "document/DocumentFiles.h"
#include "editor/TextDocument.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using namespace tessera;

Q_DECLARE_METATYPE(tessera::LineColumn)

class TextDocumentTest : public QObject {
  Q_OBJECT
private slots:
  void lineAndColumn_data();
  void lineAndColumn();
  void placesOutOfRangeClamp_data();
  void placesOutOfRangeClamp();
  void snapshot_data();
  void snapshot();
  void revisionGrowsWithEveryChange();
  void heldTextUntilTheNextChange_data();
  void heldTextUntilTheNextChange();
  void changeHandlingOncePerReplacement();
  void programEditsForgetTheUndoStep();
  void fileFollowsOpenSaveAndNew();
};

// "ab\r\ncd\r\n\r\nx": the toolkit holds "ab|cd||x" with | a separator.
static const QString kLines = QStringLiteral("ab\r\ncd\r\n\r\nx");

void TextDocumentTest::lineAndColumn_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("position");
  QTest::addColumn<LineColumn>("place");
  QTest::addColumn<int>("backTo");
  QTest::addColumn<int>("lineStart");
  QTest::newRow("start") << kLines << 0 << LineColumn{1, 1} << 0 << 0;
  QTest::newRow("end of first line") << kLines << 2 << LineColumn{1, 3} << 2 << 0;
  QTest::newRow("between CR and LF is the line end") << kLines << 3 << LineColumn{1, 3} << 2 << 0;
  QTest::newRow("second line") << kLines << 5 << LineColumn{2, 2} << 5 << 4;
  QTest::newRow("empty line") << kLines << 8 << LineColumn{3, 1} << 8 << 8;
  QTest::newRow("last line") << kLines << 10 << LineColumn{4, 1} << 10 << 10;
  QTest::newRow("end") << kLines << 11 << LineColumn{4, 2} << 11 << 10;
  QTest::newRow("past the end") << kLines << 40 << LineColumn{4, 2} << 11 << 10;
  // "a", U+1F600 (two units, one column), "b", CR LF, "c".
  const QString pair = QString::fromUtf8("a\xf0\x9f\x98\x80"
                                         "b\r\nc");
  QTest::newRow("pair's column") << pair << 1 << LineColumn{1, 2} << 1 << 0;
  QTest::newRow("inside a pair is the pair") << pair << 2 << LineColumn{1, 2} << 1 << 0;
  QTest::newRow("after a pair") << pair << 3 << LineColumn{1, 3} << 3 << 0;
  QTest::newRow("line end after a pair") << pair << 4 << LineColumn{1, 4} << 4 << 0;
  QTest::newRow("line after a pair") << pair << 7 << LineColumn{2, 2} << 7 << 6;
}

void TextDocumentTest::lineAndColumn() {
  QFETCH(QString, text);
  QFETCH(int, position);
  QFETCH(LineColumn, place);
  QFETCH(int, backTo);
  QFETCH(int, lineStart);
  TextDocument document;
  document.replaceWholeText(text);
  const LineColumn at = document.lineColumnAt(TextPosition(position));
  QCOMPARE(at.line, place.line);
  QCOMPARE(at.column, place.column);
  QCOMPARE(document.positionAt(place).value, backTo);
  QCOMPARE(document.lineStart(place.line - 1).value, lineStart);
}

void TextDocumentTest::placesOutOfRangeClamp_data() {
  QTest::addColumn<LineColumn>("place");
  QTest::addColumn<int>("position");
  QTest::newRow("column past the line end") << LineColumn{1, 99} << 2;
  QTest::newRow("negative column") << LineColumn{2, -5} << 4;
  QTest::newRow("line past the end") << LineColumn{40, 1} << 10;
  QTest::newRow("negative line") << LineColumn{-3, 2} << 1;
  QTest::newRow("line 0") << LineColumn{0, 1} << 0;
}

void TextDocumentTest::placesOutOfRangeClamp() {
  QFETCH(LineColumn, place);
  QFETCH(int, position);
  TextDocument document;
  document.replaceWholeText(kLines);
  QCOMPARE(document.positionAt(place).value, position);
}

void TextDocumentTest::snapshot_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("expected");
  QTest::addColumn<QList<qsizetype>>("lineStarts");
  QTest::newRow("empty") << QString() << QString() << QList<qsizetype>{0};
  QTest::newRow("breaks become LF")
      << kLines << QStringLiteral("ab\ncd\n\nx") << QList<qsizetype>{0, 3, 6, 7};
  QTest::newRow("final break opens a line")
      << QStringLiteral("<wml/>\r\n") << QStringLiteral("<wml/>\n") << QList<qsizetype>{0, 7};
  QTest::newRow("line separator stays a character")
      << QStringLiteral("a\u2028b") << QStringLiteral("a\u2028b") << QList<qsizetype>{0};
}

void TextDocumentTest::snapshot() {
  QFETCH(QString, text);
  QFETCH(QString, expected);
  QFETCH(QList<qsizetype>, lineStarts);
  TextDocument document;
  document.replaceWholeText(text);
  document.setFilePath(QStringLiteral("/decks/index.wml"));
  const TextSnapshot snapshot = document.snapshot();
  QCOMPARE(snapshot.text, expected);
  QCOMPARE(snapshot.revision, document.revision());
  QCOMPARE(snapshot.filePath, QStringLiteral("/decks/index.wml"));
  QCOMPARE(snapshot.lineStarts(), lineStarts);
}

void TextDocumentTest::revisionGrowsWithEveryChange() {
  TextDocument document;
  document.replaceWholeText(QStringLiteral("one"));
  const TextSnapshot before = document.snapshot();
  quint64 last = document.revision();
  QTextCursor cursor(document.qtDocument());
  cursor.movePosition(QTextCursor::End);
  for (const QString& typed : {QStringLiteral("x"), QStringLiteral("\n"), QStringLiteral("y")}) {
    cursor.insertText(typed);
    QVERIFY(document.revision() > last);
    last = document.revision();
  }
  document.editWithoutUndo([&] { cursor.deletePreviousChar(); });
  QVERIFY(document.revision() > last);
  last = document.revision();
  // The same text again changes nothing, so the revision stays.
  document.replaceWholeText(QStringLiteral("onex\r\n"));
  QCOMPARE(document.revision(), last);
  // A snapshot taken earlier keeps what it held.
  QCOMPARE(before.text, QStringLiteral("one"));
  QVERIFY(before.revision < document.revision());
}

void TextDocumentTest::heldTextUntilTheNextChange_data() {
  QTest::addColumn<int>("change");
  QTest::addColumn<QString>("after");
  QTest::newRow("typing") << 0 << QStringLiteral("one\ntwox");
  QTest::newRow("a line break") << 1 << QStringLiteral("one\ntwo\n");
  QTest::newRow("a program edit") << 2 << QStringLiteral("one\ntwo<br/>");
  QTest::newRow("undo") << 3 << QStringLiteral("one\ntw");
  QTest::newRow("whole text replaced") << 4 << QStringLiteral("new");
  QTest::newRow("a character swapped") << 5 << QStringLiteral("one\ntwX");
}

// The copy a snapshot made is handed out again only while the text is the
// same; every kind of change drops it, and the next snapshot is the new text.
void TextDocumentTest::heldTextUntilTheNextChange() {
  QFETCH(int, change);
  QFETCH(QString, after);
  TextDocument document;
  document.replaceWholeText(QStringLiteral("one\r\ntw"));
  QTextCursor cursor(document.qtDocument());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(QStringLiteral("o")); // an undoable step
  QVERIFY(document.heldText().isNull());
  const TextSnapshot first = document.snapshot();
  QCOMPARE(document.heldText(), QStringLiteral("one\ntwo"));
  // A second snapshot at the same revision shares the first one's copy.
  QVERIFY(document.snapshot().text.constData() == first.text.constData());
  switch (change) {
  case 0: cursor.insertText(QStringLiteral("x")); break;
  case 1: cursor.insertText(QStringLiteral("\n")); break;
  case 2: document.editWithoutUndo([&] { cursor.insertText(QStringLiteral("<br/>")); }); break;
  case 3: document.qtDocument()->undo(); break;
  case 4: document.replaceWholeText(QStringLiteral("new")); break;
  case 5:
    cursor.deletePreviousChar();
    cursor.insertText(QStringLiteral("X")); // same length as before
    break;
  }
  QVERIFY(document.heldText().isNull());
  QCOMPARE(document.snapshot().text, after);
  QCOMPARE(first.text, QStringLiteral("one\ntwo")); // the old copy is left as it was
}

void TextDocumentTest::changeHandlingOncePerReplacement() {
  TextDocument document;
  document.replaceWholeText(QStringLiteral("old\r\ntext"));
  document.setModified(false);
  QSignalSpy changed(&document, &TextDocument::changed);
  QSignalSpy replaced(&document, &TextDocument::textReplaced);
  QVERIFY(document.replaceWholeText(QStringLiteral("new\r\ntext\r\n")));
  QCOMPARE(changed.count(), 1);
  QCOMPARE(replaced.count(), 1);
  QVERIFY(document.isModified());
  document.setModified(false);
  QVERIFY(!document.replaceWholeText(QStringLiteral("new\r\ntext\r\n")));
  QCOMPARE(changed.count(), 1);
  QCOMPARE(replaced.count(), 2); // the caret still goes to the start
  QVERIFY(!document.isModified());
}

void TextDocumentTest::programEditsForgetTheUndoStep() {
  TextDocument document;
  document.replaceWholeText(QStringLiteral("abc"));
  QVERIFY(!document.canUndoStep()); // a replacement is never undone
  QTextCursor cursor(document.qtDocument());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(QStringLiteral("d")); // the user's edit
  QVERIFY(document.canUndoStep());
  QVERIFY(!document.undoStepRedoes());
  document.editWithoutUndo([&] { cursor.insertText(QStringLiteral("<br/>")); });
  QVERIFY(!document.canUndoStep());
  QCOMPARE(document.wholeText(), QStringLiteral("abcd<br/>"));
  // After an undo, the step to take next is the redo.
  cursor.insertText(QStringLiteral("e"));
  document.qtDocument()->undo();
  QVERIFY(document.canUndoStep());
  QVERIFY(document.undoStepRedoes());
}

void TextDocumentTest::fileFollowsOpenSaveAndNew() {
  QTemporaryDir dir;
  const QString opened = dir.filePath(QStringLiteral("opened.wml"));
  const QString saved = dir.filePath(QStringLiteral("saved.wml"));
  {
    QFile file(opened);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("caf\xe9\r\n"); // not UTF-8: read byte for byte
  }
  TestServices t;
  TextDocument document;
  DocumentFiles files(document, t.prompts, nullptr);
  QVERIFY(files.loadFile(opened));
  QCOMPARE(document.filePath(), opened);
  QCOMPARE(document.encoding(), FileEncoding::windows1252());
  // A failed load keeps the file it had.
  QVERIFY(!files.loadFile(dir.filePath(QStringLiteral("missing.wml"))));
  QCOMPARE(document.filePath(), opened);
  t.prompts.clear();
  t.prompts.answerFile(saved);
  QVERIFY(files.saveToChosenFile());
  QCOMPARE(document.filePath(), saved);
  // A cancelled save keeps it too.
  t.prompts.answerFile(QString());
  QVERIFY(!files.saveToChosenFile());
  QCOMPARE(document.filePath(), saved);
  document.forgetFile();
  QCOMPARE(document.filePath(), QString());
  QCOMPARE(document.encoding(), FileEncoding::utf8());
  QCOMPARE(document.lineBreakStyle(), LineBreakStyle::CrLf);
}

QTEST_MAIN(TextDocumentTest)
#include "tst_textdocument.moc"
