#include "FileBytes.h"
#include "TestServices.h"
#include "document/DefaultDocument.h"
#include "document/DocumentFiles.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

namespace {} // namespace

class DocumentFilesTest : public QObject {
  Q_OBJECT
private slots:
  void init() {
    dir.reset(new QTemporaryDir);
    t.reset(new TestServices);
    editor.reset(new SourceEditor);
    editor->textDocument().replaceWholeText(defaultDocument());
    editor->textDocument().setModified(false);
    files.reset(new DocumentFiles(editor->textDocument(), t->prompts, nullptr));
  }
  void saveAddsExtensionAndWritesCrLf();
  void saveRemembersNameSeparately();
  void loadThenSaveNormalisesBreaks_data();
  void loadThenSaveNormalisesBreaks();
  void failedLoadKeepsEverything_data();
  void failedLoadKeepsEverything();
  void failedWriteKeepsOldFile();
  void saveQuestionAnswers();

private:
  QScopedPointer<QTemporaryDir> dir;
  QScopedPointer<TestServices> t;
  QScopedPointer<SourceEditor> editor;
  QScopedPointer<DocumentFiles> files;
};

void DocumentFilesTest::saveAddsExtensionAndWritesCrLf() {
  t->prompts.answerFile(dir->filePath("a"));
  QVERIFY(files->saveToChosenFile());
  const auto& asked = t->prompts.asked.first();
  QCOMPARE(asked.file.filters, (QStringList{"WML Files (*.wml)", "PHP Files (*.php)",
                                            "Text Files (*.txt)", "All Files (*.*)"}));
  QVERIFY(asked.file.confirmOverwrite);
  QCOMPARE(readFileBytes(dir->filePath("a.wml")), defaultDocument().toUtf8());
  QCOMPARE(readFileBytes(dir->filePath("a.wml")).count("\r\n"), 12);
}

void DocumentFilesTest::saveRemembersNameSeparately() {
  const QString saved = dir->filePath("first.wml");
  t->prompts.answerFile(saved);
  QVERIFY(files->saveToChosenFile());
  t->prompts.answerFile(QString()); // cancel
  QVERIFY(!files->saveToChosenFile());
  QCOMPARE(t->prompts.asked.at(1).file.initialName, saved);
  // The open dialog has its own memory, untouched by saving.
  t->prompts.answerFile(QString());
  QVERIFY(files->chooseFileToOpen().isEmpty());
  QCOMPARE(t->prompts.asked.at(2).file.initialName, QString());
  t->prompts.answerFile(dir->filePath("other.wml"));
  files->chooseFileToOpen();
  QCOMPARE(files->rememberedOpenName(), dir->filePath("other.wml"));
  QCOMPARE(files->rememberedSaveName(), saved);
}

void DocumentFilesTest::loadThenSaveNormalisesBreaks_data() {
  QTest::addColumn<QByteArray>("input");
  QTest::addColumn<QByteArray>("saved");
  // Breaks of one kind are kept; lone CRs and mixed breaks become CR LF.
  QTest::newRow("LF") << QByteArray("<wml>\n</wml>\n") << QByteArray("<wml>\n</wml>\n");
  QTest::newRow("CR") << QByteArray("a\rb") << QByteArray("a\r\nb");
  QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << QByteArray("a\r\nb\r\nc\r\nd");
  QTest::newRow("NUL") << QByteArray("a\0b\nc", 5) << QByteArray("a\0b\nc", 5);
  QTest::newRow("Latin-1") << QByteArray("\xe9t\xe9\n") << QByteArray("\xe9t\xe9\n");
  QTest::newRow("UTF-8") << QByteArray("\xc3\xa9t\xc3\xa9") << QByteArray("\xc3\xa9t\xc3\xa9");
  QTest::newRow("empty") << QByteArray() << QByteArray();
}

void DocumentFilesTest::loadThenSaveNormalisesBreaks() {
  QFETCH(QByteArray, input);
  QFETCH(QByteArray, saved);
  const QString in = dir->filePath("in.txt");
  writeFileBytes(in, input);
  QSignalSpy changes(editor.data(), &SourceEditor::statusChanged);
  editor->setSelection(tessera::TextPosition(5), 3);
  QVERIFY(files->loadFile(in));
  QCOMPARE(changes.count(), 1); // one change handling for the whole load
  QCOMPARE(editor->caretPosition().value, 0);
  QCOMPARE(editor->selectionLength(), 0);
  QVERIFY(!editor->textDocument().canUndoStep());
  t->prompts.answerFile(dir->filePath("out.wml"));
  QVERIFY(files->saveToChosenFile());
  QCOMPARE(readFileBytes(dir->filePath("out.wml")), saved);
  // Loading the same text again is no change at all.
  QVERIFY(files->loadFile(in));
  QCOMPARE(changes.count(), 1);
}

void DocumentFilesTest::failedLoadKeepsEverything_data() {
  QTest::addColumn<QString>("what");
  QTest::addColumn<QString>("message");
  QTest::newRow("missing") << "missing"
                           << "Cannot open file \"";
  QTest::newRow("directory") << "directory"
                             << "Cannot open file \"";
  QTest::newRow("too large") << "large"
                             << "Text exceeds memo capacity";
  QTest::newRow("endless device") << "device"
                                  << "Cannot open file \"";
}

void DocumentFilesTest::failedLoadKeepsEverything() {
  QFETCH(QString, what);
  QFETCH(QString, message);
  QString path = dir->filePath("missing.wml");
  if (what == QLatin1String("directory"))
    path = dir->path();
  if (what == QLatin1String("large")) {
    path = dir->filePath("large.wml");
    writeFileBytes(path, QByteArray(2000, 'x'));
    files->setCapacity(1000);
  }
  if (what == QLatin1String("device")) {
    path = QStringLiteral("/dev/zero");
    files->setCapacity(1 << 20);
  }
  editor->insertAtCaret(QStringLiteral("kept"));
  editor->setSelection(tessera::TextPosition(2), 1);
  const QString before = editor->textDocument().wholeText();
  QSignalSpy changes(editor.data(), &SourceEditor::statusChanged);
  QVERIFY(!files->loadFile(path));
  QCOMPARE(editor->textDocument().wholeText(), before);
  QCOMPARE(editor->selectionStart().value, 2);
  QCOMPARE(editor->selectionLength(), 1);
  QVERIFY(editor->textDocument().isModified());
  QCOMPARE(changes.count(), 0);
  QCOMPARE(t->prompts.asked.size(), 1);
  QCOMPARE(t->prompts.asked.first().caption, QStringLiteral("Error"));
  QVERIFY2(t->prompts.asked.first().text.startsWith(message),
           qPrintable(t->prompts.asked.first().text));
}

void DocumentFilesTest::failedWriteKeepsOldFile() {
  const QString path = dir->filePath("old.wml");
  writeFileBytes(path, "old contents");
  // The folder of the temporary file is a regular file: the write fails
  // before the old file is touched, even for root.
  const QString blocked = dir->filePath("old.wml/new.wml");
  t->prompts.answerFile(blocked);
  QVERIFY(!files->saveToChosenFile());
  QCOMPARE(readFileBytes(path), QByteArray("old contents"));
  QVERIFY(t->prompts.asked.last().text.startsWith(
      QStringLiteral("Cannot create file \"%1\". ").arg(blocked)));
}

void DocumentFilesTest::saveQuestionAnswers() {
  for (auto [given, expected] : {std::pair{QMessageBox::Yes, QMessageBox::Yes},
                                 {QMessageBox::No, QMessageBox::No},
                                 {QMessageBox::Cancel, QMessageBox::Cancel},
                                 {QMessageBox::Escape, QMessageBox::Cancel}}) {
    t->prompts.clear();
    t->prompts.answerButton(given);
    QCOMPARE(files->askSaveQuestion(), expected);
    QCOMPARE(t->prompts.beeps, 1);
  }
}

QTEST_MAIN(DocumentFilesTest)
#include "tst_documentfiles.moc"
