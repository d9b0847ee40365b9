#include "FileBytes.h"
#include "TestServices.h"
#include "app/Backup.h"
#include "app/MainWindow.h"
#include "document/DocumentFiles.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

namespace {

// Holds each error box open for a while, as a person would.
class SlowPrompts : public ScriptedPrompts {
public:
  QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                      const QString& caption, const QString& text,
                                      QMessageBox::StandardButtons buttons) override {
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    answerButton(QMessageBox::Ok);
    const auto answer = ScriptedPrompts::message(parent, icon, caption, text, buttons);
    QTest::qWait(holdMs);
    --depth;
    return answer;
  }
  int depth = 0;
  int maxDepth = 0;
  int holdMs = 0;
};

struct Fixture {
  QTemporaryDir dir;
  SlowPrompts prompts;
  SourceEditor editor;
  DocumentFiles files{editor.textDocument(), prompts, nullptr};
  QAction item{QStringLiteral("&Backup Saving"), nullptr};
  Backup backup{&item, files, prompts, dir.path(), nullptr};
  Fixture() { editor.textDocument().replaceWholeText(QStringLiteral("first\r\n")); }
};
} // namespace

class BackupTest : public QObject {
  Q_OBJECT
private slots:
  void toggleShowsStateInMarkAndHint();
  void mainWindowItemWritesIntoProgramFolder();
  void ticksWriteTheLatestText();
  void onAndOffWithinOneIntervalWritesNothing();
  void failureShowsErrorAndKeepsTrying();
  void failingTicksDoNotStackErrorBoxes();
  void backupLeavesTheDocumentAlone();
  void unwritableProgramFolderFallsBackToDataHome();
};

void BackupTest::toggleShowsStateInMarkAndHint() {
  Fixture f;
  QCOMPARE(f.backup.timer().objectName(), QStringLiteral("Timer1"));
  QCOMPARE(f.backup.interval(), 300000);
  const QString enable = QStringLiteral("Automatic saving (backup) in every 5 minutes to the "
                                        "program directory (folder) under the name backup.wml");
  QVERIFY(!f.backup.isOn());
  QVERIFY(f.item.isCheckable());
  QVERIFY(!f.item.isChecked());
  QCOMPARE(f.item.statusTip(), enable);

  f.item.trigger();
  QVERIFY(f.backup.isOn());
  QVERIFY(f.item.isChecked());
  QCOMPARE(f.item.statusTip(), QStringLiteral("Disabling automatic saving"));

  f.item.trigger();
  QVERIFY(!f.backup.isOn());
  QVERIFY(!f.item.isChecked());
  QCOMPARE(f.item.statusTip(), enable);
  QVERIFY(!QFile::exists(f.backup.filePath()));
}

void BackupTest::mainWindowItemWritesIntoProgramFolder() {
  TestServices t;
  MainWindow w(t.services());
  Backup* backup = w.backup();
  QVERIFY(backup);
  QCOMPARE(backup->filePath(), QDir(MainWindow::programFolder()).filePath("backup.wml"));
  QVERIFY(!backup->isOn());
  QAction* item = w.action(QStringLiteral("Makebackup1"));
  item->trigger();
  QVERIFY(backup->isOn());
  QVERIFY(item->isChecked());
  QCOMPARE(backup->interval(), 300000);
  item->trigger();
  QVERIFY(!backup->isOn());
}

void BackupTest::ticksWriteTheLatestText() {
  Fixture f;
  f.backup.setInterval(150);
  QSignalSpy ticks(&f.backup.timer(), &QTimer::timeout);
  f.item.trigger();
  QTRY_COMPARE(readFileBytes(f.backup.filePath()), QByteArray("first\r\n"));
  f.editor.textDocument().replaceWholeText(QStringLiteral("second\r\nversion\r\n"));
  QTRY_COMPARE(readFileBytes(f.backup.filePath()), QByteArray("second\r\nversion\r\n"));
  QVERIFY(ticks.count() >= 2);
  f.item.trigger();
  // Off: nothing more is written.
  f.editor.textDocument().replaceWholeText(QStringLiteral("third\r\n"));
  QTest::qWait(400);
  QCOMPARE(readFileBytes(f.backup.filePath()), QByteArray("second\r\nversion\r\n"));
  QVERIFY(f.prompts.asked.isEmpty());
}

void BackupTest::onAndOffWithinOneIntervalWritesNothing() {
  Fixture f;
  // Generous margins: a busy machine may stretch each wait.
  f.backup.setInterval(2000);
  f.item.trigger();
  QTest::qWait(1200);
  f.item.trigger();
  QVERIFY(!QFile::exists(f.backup.filePath()));
  // Switching on again restarts the count: 2400 ms after the first start,
  // 1200 after the second, nothing is written yet.
  f.item.trigger();
  QTest::qWait(1200);
  QVERIFY(!QFile::exists(f.backup.filePath()));
  f.item.trigger();
  QTest::qWait(1000);
  QVERIFY(!QFile::exists(f.backup.filePath()));
}

void BackupTest::failureShowsErrorAndKeepsTrying() {
  QTemporaryDir dir;
  QFile plain(dir.filePath("plain"));
  QVERIFY(plain.open(QIODevice::WriteOnly));
  plain.close();
  // A folder below a regular file cannot exist, whatever the permissions.
  const QString folder = dir.filePath("plain/program");
  ScriptedPrompts prompts;
  SourceEditor editor;
  editor.textDocument().replaceWholeText(QStringLiteral("text"));
  DocumentFiles files(editor.textDocument(), prompts, nullptr);
  QAction item;
  Backup backup(&item, files, prompts, folder, nullptr);
  backup.setInterval(50);
  item.trigger();
  // Every tick tries again (on a loaded machine more than two may pass).
  QTRY_VERIFY(prompts.asked.size() >= 2);
  backup.toggle();
  for (const auto& a : prompts.asked) {
    QCOMPARE(a.caption, QStringLiteral("Error"));
    QCOMPARE(a.icon, QMessageBox::Critical);
    const QString prefix =
        QStringLiteral("Cannot create file \"%1\". ").arg(QDir(folder).filePath("backup.wml"));
    QVERIFY2(a.text.startsWith(prefix) && a.text.size() > prefix.size(), qPrintable(a.text));
  }
}

void BackupTest::failingTicksDoNotStackErrorBoxes() {
  QTemporaryDir dir;
  QFile plain(dir.filePath("plain"));
  QVERIFY(plain.open(QIODevice::WriteOnly));
  plain.close();
  SlowPrompts prompts;
  prompts.holdMs = 300;
  SourceEditor editor;
  DocumentFiles files(editor.textDocument(), prompts, nullptr);
  QAction item;
  Backup backup(&item, files, prompts, dir.filePath("plain/program"), nullptr);
  backup.setInterval(40);
  item.trigger();
  // One box at a time, and after each is closed the next tick tries again.
  QTRY_VERIFY(prompts.asked.size() >= 2);
  item.trigger();
  QCOMPARE(prompts.maxDepth, 1);
}

void BackupTest::backupLeavesTheDocumentAlone() {
  Fixture f;
  f.editor.show();
  QVERIFY(QTest::qWaitForWindowExposed(&f.editor));
  f.editor.textDocument().replaceWholeText(QStringLiteral("abc\r\ndef\r\n"));
  f.editor.setSelection(tessera::TextPosition(5), 0);
  f.editor.setFocus();
  QTest::keyClicks(&f.editor, QStringLiteral("xy")); // the user's own typing: undoable
  QVERIFY(f.editor.textDocument().canUndoStep());
  f.editor.setSelection(tessera::TextPosition(1), 5);
  f.editor.textDocument().setModified(true);
  const int revision = f.editor.document()->revision();

  f.backup.setInterval(50);
  f.item.trigger();
  QTRY_COMPARE(readFileBytes(f.backup.filePath()), QByteArray("abc\r\nxydef\r\n"));
  f.item.trigger();

  QVERIFY(f.editor.textDocument().isModified());
  QCOMPARE(f.editor.selectionStart().value, 1);
  QCOMPARE(f.editor.selectionLength(), 5);
  QVERIFY(f.editor.textDocument().canUndoStep());
  QCOMPARE(f.editor.document()->revision(), revision);
  QCOMPARE(f.files.rememberedSaveName(), QStringLiteral("Untitled1"));

  // An unmodified document stays unmodified.
  f.editor.textDocument().setModified(false);
  f.item.trigger();
  QTest::qWait(120);
  f.item.trigger();
  QVERIFY(!f.editor.textDocument().isModified());
}

void BackupTest::unwritableProgramFolderFallsBackToDataHome() {
  QTemporaryDir dir;
  qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
  // A writable program folder (the build tree) keeps the backup beside the program.
  QCOMPARE(Backup::folderFor(dir.path()), dir.path());
  // A folder the user cannot write into (here: one that cannot exist) sends
  // it to the user's data folder, which is created for it.
  const QString fallback = Backup::folderFor(dir.filePath("missing/bin"));
  QCOMPARE(fallback, dir.filePath("data/tessera"));
  QVERIFY(QFileInfo(fallback).isDir());
  qunsetenv("XDG_DATA_HOME");
}

QTEST_MAIN(BackupTest)
#include "tst_backup.moc"
