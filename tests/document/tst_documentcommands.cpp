#include "FileBytes.h"
#include "TestServices.h"
#include "app/MainWindow.h"
#include "app/StatusLine.h"
#include "document/DefaultDocument.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "tools/ToolsPanel.h"

#include <QAction>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

namespace {
const QString kTyped = QStringLiteral("typed text\r\nsecond line\r\n");
const QString kLoaded = QStringLiteral("loaded\r\nfile\r\n");

QString kindOf(const ScriptedPrompts::Asked& asked) {
  switch (asked.kind) {
  case ScriptedPrompts::Asked::OpenFile: return QStringLiteral("open");
  case ScriptedPrompts::Asked::SaveFile: return QStringLiteral("save");
  case ScriptedPrompts::Asked::Folder: return QStringLiteral("folder");
  case ScriptedPrompts::Asked::Color: return QStringLiteral("color");
  case ScriptedPrompts::Asked::Choice: return QStringLiteral("choice");
  case ScriptedPrompts::Asked::Message:
    return asked.caption == QLatin1String("Error") ? QStringLiteral("error")
                                                   : QStringLiteral("question");
  }
  return {};
}

class FailingShell : public Shell {
public:
  bool openUrl(const QUrl&) override { return false; }
  bool startProgram(const QString&, const QStringList&) override { return false; }
};
} // namespace

class DocumentCommandsTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void commands_data();
  void commands();
  void newResetsDocumentState();
  void toolbarButtonsRunTheCommands();
  void openSameFileTwiceRunsNoChangeHandling();
  void newWindowStartsOwnProgram();
  void newWindowFailureIsReported();

private:
  QScopedPointer<QTemporaryDir> dir;
};

void DocumentCommandsTest::init() {
  dir.reset(new QTemporaryDir);
  QFile in(dir->filePath(QStringLiteral("in.wml")));
  QVERIFY(in.open(QIODevice::WriteOnly));
  in.write("loaded\nfile\n");
  QFile plain(dir->filePath(QStringLiteral("plain")));
  QVERIFY(plain.open(QIODevice::WriteOnly));
}

void DocumentCommandsTest::commands_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<bool>("modified");
  // Answers: Yes/No/Cancel/Ok buttons, save=NAME / open=NAME (empty name
  // cancels the dialog; "blocked" cannot be written, "missing.wml" read).
  QTest::addColumn<QStringList>("script");
  QTest::addColumn<QString>("textAfter"); // typed / default / loaded
  QTest::addColumn<bool>("modifiedAfter");
  QTest::addColumn<bool>("saved");
  QTest::addColumn<QStringList>("asked");

  const QStringList none;
  QTest::newRow("new unmodified: reset without a question")
      << "new" << false << none << "default" << false << false << none;
  QTest::newRow("new modified, Cancel") << "new" << true << QStringList{"Cancel"} << "typed" << true
                                        << false << QStringList{"question"};
  QTest::newRow("new modified, No discards") << "new" << true << QStringList{"No"} << "default"
                                             << false << false << QStringList{"question"};
  QTest::newRow("new modified, Yes and save")
      << "new" << true << QStringList{"Yes", "save=out.wml"} << "default" << false << true
      << QStringList{"question", "save"};
  QTest::newRow("new modified, Yes, save dialog cancelled")
      << "new" << true << QStringList{"Yes", "save="} << "typed" << true << false
      << QStringList{"question", "save"};
  QTest::newRow("new modified, Yes, write fails")
      << "new" << true << QStringList{"Yes", "save=blocked", "Ok"} << "typed" << true << false
      << QStringList{"question", "save", "error"};

  QTest::newRow("open unmodified") << "open" << false << QStringList{"open=in.wml"} << "loaded"
                                   << false << false << QStringList{"open"};
  QTest::newRow("open unmodified, dialog cancelled")
      << "open" << false << QStringList{"open="} << "typed" << false << false
      << QStringList{"open"};
  QTest::newRow("open unmodified, read fails")
      << "open" << false << QStringList{"open=missing.wml", "Ok"} << "typed" << false << false
      << QStringList{"open", "error"};
  QTest::newRow("open modified, Cancel") << "open" << true << QStringList{"Cancel"} << "typed"
                                         << true << false << QStringList{"question"};
  QTest::newRow("open modified, No, pick a file")
      << "open" << true << QStringList{"No", "open=in.wml"} << "loaded" << false << false
      << QStringList{"question", "open"};
  QTest::newRow("open modified, No, dialog cancelled")
      << "open" << true << QStringList{"No", "open="} << "typed" << true << false
      << QStringList{"question", "open"};
  QTest::newRow("open modified, No, read fails")
      << "open" << true << QStringList{"No", "open=missing.wml", "Ok"} << "typed" << true << false
      << QStringList{"question", "open", "error"};
  QTest::newRow("open modified, Yes, save, pick a file")
      << "open" << true << QStringList{"Yes", "save=out.wml", "open=in.wml"} << "loaded" << false
      << true << QStringList{"question", "save", "open"};
  QTest::newRow("open modified, Yes, save, open cancelled: the text is saved")
      << "open" << true << QStringList{"Yes", "save=out.wml", "open="} << "typed" << false << true
      << QStringList{"question", "save", "open"};
  QTest::newRow("open modified, Yes, save dialog cancelled")
      << "open" << true << QStringList{"Yes", "save="} << "typed" << true << false
      << QStringList{"question", "save"};
  QTest::newRow("open modified, Yes, write fails")
      << "open" << true << QStringList{"Yes", "save=blocked", "Ok"} << "typed" << true << false
      << QStringList{"question", "save", "error"};

  QTest::newRow("save") << "save" << true << QStringList{"save=out.wml"} << "typed" << false << true
                        << QStringList{"save"};
  QTest::newRow("save unmodified") << "save" << false << QStringList{"save=out.wml"} << "typed"
                                   << false << true << QStringList{"save"};
  QTest::newRow("save cancelled") << "save" << true << QStringList{"save="} << "typed" << true
                                  << false << QStringList{"save"};
  QTest::newRow("save fails") << "save" << true << QStringList{"save=blocked", "Ok"} << "typed"
                              << true << false << QStringList{"save", "error"};
}

void DocumentCommandsTest::commands() {
  QFETCH(QString, command);
  QFETCH(bool, modified);
  QFETCH(QStringList, script);
  QFETCH(QString, textAfter);
  QFETCH(bool, modifiedAfter);
  QFETCH(bool, saved);
  QFETCH(QStringList, asked);

  TestServices t;
  MainWindow w(t.services());
  SourceEditor* editor = w.editor();
  editor->textDocument().replaceWholeText(kTyped);
  editor->textDocument().setModified(modified);
  editor->setSelection(tessera::TextPosition(3), 2);

  for (const QString& step : script) {
    const QString name = step.section(QLatin1Char('='), 1);
    const QString path = name.isEmpty()                     ? QString()
                         : name == QLatin1String("blocked") ? dir->filePath("plain/out.wml")
                                                            : dir->filePath(name);
    if (step.startsWith(QLatin1String("save=")) || step.startsWith(QLatin1String("open=")))
      t.prompts.answerFile(path);
    else if (step == QLatin1String("Yes"))
      t.prompts.answerButton(QMessageBox::Yes);
    else if (step == QLatin1String("No"))
      t.prompts.answerButton(QMessageBox::No);
    else if (step == QLatin1String("Cancel"))
      t.prompts.answerButton(QMessageBox::Cancel);
    else
      t.prompts.answerButton(QMessageBox::Ok);
  }

  if (command == QLatin1String("new"))
    w.action(QStringLiteral("Fjl2"))->trigger();
  else if (command == QLatin1String("open"))
    w.action(QStringLiteral("Nyomtats1"))->trigger();
  else
    w.action(QStringLiteral("Ments1"))->trigger();

  QStringList kinds;
  for (const auto& a : t.prompts.asked)
    kinds << kindOf(a);
  QCOMPARE(kinds, asked);
  QVERIFY(!t.prompts.anyUnexpected());
  QCOMPARE(t.prompts.pendingAnswers(), 0);
  QCOMPARE(t.prompts.beeps, int(asked.count(QStringLiteral("question"))));
  for (const auto& a : t.prompts.asked) {
    if (kindOf(a) != QLatin1String("question"))
      continue;
    QCOMPARE(a.text,
             QStringLiteral(
                 "The text in the file has been changed.\n\rDo you want to save the changes?"));
    QCOMPARE(a.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  }

  const QString expected = textAfter == QLatin1String("typed")     ? kTyped
                           : textAfter == QLatin1String("default") ? defaultDocument()
                                                                   : kLoaded;
  QCOMPARE(editor->textDocument().wholeText(), expected);
  QCOMPARE(editor->textDocument().isModified(), modifiedAfter);
  if (textAfter == QLatin1String("typed")) {
    QCOMPARE(editor->selectionStart().value, 3); // a failed or cancelled command moves nothing
    QCOMPARE(editor->selectionLength(), 2);
  } else {
    QCOMPARE(editor->selectionStart().value, 0);
    QCOMPARE(editor->selectionLength(), 0);
  }
  QCOMPARE(QFile::exists(dir->filePath("out.wml")), saved);
  if (saved)
    QCOMPARE(readFileBytes(dir->filePath("out.wml")), kTyped.toUtf8());
}

void DocumentCommandsTest::newResetsDocumentState() {
  TestServices t;
  MainWindow w(t.services());
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  SourceEditor* editor = w.editor();
  // A single-byte file makes the next save single-byte; a new document starts over.
  QFile latin(dir->filePath("latin.wml"));
  QVERIFY(latin.open(QIODevice::WriteOnly));
  latin.write("caf\xe9\n");
  latin.close();
  QVERIFY(w.files().loadFile(latin.fileName()));
  QCOMPARE(w.textDocument().encoding(), FileEncoding::windows1252());
  QCOMPARE(w.textDocument().lineBreakStyle(), LineBreakStyle::Lf);
  QCOMPARE(w.textDocument().filePath(), latin.fileName());
  QString longText;
  for (int i = 0; i < 300; ++i)
    longText += QStringLiteral("line %1\r\n").arg(i);
  editor->textDocument().replaceWholeText(longText);
  editor->setSelection(tessera::TextPosition(2000), 5);
  editor->ensureCursorVisible();
  QVERIFY(editor->verticalScrollBar()->value() > 0);
  w.toolsPanel()->setCurrentIndex(4);
  w.toolsPanel()->setFocus();
  QVERIFY(editor->textDocument().isModified());

  t.prompts.answerButton(QMessageBox::No);
  w.action(QStringLiteral("Fjl2"))->trigger();

  QCOMPARE(editor->textDocument().wholeText(), defaultDocument());
  QVERIFY(!editor->textDocument().isModified());
  QCOMPARE(editor->selectionStart().value, 0);
  QCOMPARE(editor->selectionLength(), 0);
  QCOMPARE(editor->verticalScrollBar()->value(), 0);
  QVERIFY(!editor->textDocument().canUndoStep());
  QCOMPARE(w.toolsPanel()->currentWidget(), w.toolsPanel()->page(ToolsPanel::GeneralTools));
  QTRY_VERIFY(editor->hasFocus());
  QCOMPARE(w.statusLine()->panelText(StatusLine::RowPanel), QStringLiteral("Row: 1"));
  QCOMPARE(w.statusLine()->panelText(StatusLine::CharPanel), QStringLiteral("Char.: 0"));
  QCOMPARE(w.textDocument().encoding(), FileEncoding::utf8());
  QCOMPARE(w.textDocument().lineBreakStyle(), LineBreakStyle::CrLf);
  QCOMPARE(w.textDocument().filePath(), QString()); // a new document has no file
  // Nothing is left to save: closing asks nothing.
  t.prompts.clear();
  QVERIFY(w.close());
  QVERIFY(t.prompts.asked.isEmpty());
}

void DocumentCommandsTest::toolbarButtonsRunTheCommands() {
  TestServices t;
  MainWindow w(t.services());
  w.editor()->textDocument().replaceWholeText(kTyped);
  w.editor()->textDocument().setModified(false);

  t.prompts.answerFile(dir->filePath("in.wml"));
  w.action(QStringLiteral("ToolButton2"))->trigger();
  QCOMPARE(w.editor()->textDocument().wholeText(), kLoaded);

  t.prompts.answerFile(dir->filePath("copy.wml"));
  w.action(QStringLiteral("ToolButton3"))->trigger();
  // The loaded file's LF breaks are kept.
  QCOMPARE(readFileBytes(dir->filePath("copy.wml")), QByteArray("loaded\nfile\n"));

  w.action(QStringLiteral("ToolButton1"))->trigger();
  QCOMPARE(w.editor()->textDocument().wholeText(), defaultDocument());
  QVERIFY(!t.prompts.anyUnexpected());
  QCOMPARE(t.prompts.asked.size(), 2);
}

void DocumentCommandsTest::openSameFileTwiceRunsNoChangeHandling() {
  TestServices t;
  MainWindow w(t.services());
  SourceEditor* editor = w.editor();
  t.prompts.answerFile(dir->filePath("in.wml"));
  w.action(QStringLiteral("Nyomtats1"))->trigger();
  QCOMPARE(editor->textDocument().wholeText(), kLoaded);
  QVERIFY(!editor->textDocument().isModified());

  const int revision = editor->document()->revision();
  QSignalSpy contents(editor->document(), &QTextDocument::contentsChange);
  t.prompts.answerFile(dir->filePath("in.wml"));
  w.action(QStringLiteral("Nyomtats1"))->trigger();
  QCOMPARE(editor->textDocument().wholeText(), kLoaded);
  QCOMPARE(editor->document()->revision(), revision);
  QCOMPARE(contents.count(), 0);
  QVERIFY(!editor->textDocument().isModified());
  // The open dialog proposes the name confirmed last; the save dialog keeps its own.
  QCOMPARE(t.prompts.asked.last().file.initialName, dir->filePath("in.wml"));
  QCOMPARE(w.files().rememberedSaveName(), QStringLiteral("Untitled1"));
}

void DocumentCommandsTest::newWindowStartsOwnProgram() {
  TestServices t;
  MainWindow w(t.services());
  w.editor()->textDocument().replaceWholeText(kTyped); // modified: still nothing is asked
  w.action(QStringLiteral("Window1"))->trigger();
  QCOMPARE(t.shell.started.size(), 1);
  QCOMPARE(t.shell.started.first(), QStringList{QCoreApplication::applicationFilePath()});
  QVERIFY(t.prompts.asked.isEmpty());
  QCOMPARE(w.editor()->textDocument().wholeText(), kTyped);
  QVERIFY(w.editor()->textDocument().isModified());
}

void DocumentCommandsTest::newWindowFailureIsReported() {
  TestServices t;
  FailingShell failing;
  MainWindow w(Services{t.prompts, failing, t.lockKeys});
  t.prompts.answerButton(QMessageBox::Ok);
  w.action(QStringLiteral("Window1"))->trigger();
  QCOMPARE(t.prompts.asked.size(), 1);
  QCOMPARE(t.prompts.asked[0].caption, QStringLiteral("Error"));
  QVERIFY(t.prompts.asked[0].text.startsWith(QStringLiteral("Cannot start \"")));
}

QTEST_MAIN(DocumentCommandsTest)
#include "tst_documentcommands.moc"
