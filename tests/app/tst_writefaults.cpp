#include "FileBytes.h"
#include "TestServices.h"
#include "app/Backup.h"
#include "app/ModeFiles.h"
#include "document/DocumentCommands.h"
#include "document/DocumentFiles.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "generators/SiteWizard.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace tessera;

// Writes that fail part of the way through: a save, a backup and a site
// page on a disk that fills up, or into a folder mounted read-only. The
// old file must survive byte for byte, the error must be shown, and the
// document must still count as unsaved.
namespace {

// A small disk. A real 64 KiB tmpfs when this process may mount one (the
// test machines run as root); otherwise the process's file-size limit
// makes every write past `room` bytes fail the same way.
class SmallDisk {
public:
  SmallDisk() {
    mounted_ =
        QProcess::execute(QStringLiteral("mount"),
                          {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                           QStringLiteral("size=64k"), QStringLiteral("tmpfs"), dir_.path()}) == 0;
    qInfo("faults injected through %s", mounted_ ? "a full 64 KiB tmpfs" : "a file-size limit");
  }
  ~SmallDisk() {
    lift();
    if (mounted_)
      QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), dir_.path()});
  }
  QString path(const QString& name) const { return dir_.filePath(name); }
  bool mounted() const { return mounted_; }

  // Leaves only about `room` bytes for further writes.
  bool fill(qint64 room) {
    if (!mounted_) {
      std::signal(SIGXFSZ, SIG_IGN);
      rlimit limit{};
      getrlimit(RLIMIT_FSIZE, &saved_);
      limit.rlim_cur = rlim_t(room);
      limit.rlim_max = saved_.rlim_max;
      limited_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
      return limited_;
    }
    QFile filler(path(QStringLiteral(".filler")));
    if (!filler.open(QIODevice::WriteOnly))
      return false;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    // Give back what was asked for, in whole pages.
    const qint64 size = filler.size();
    return QFile::resize(filler.fileName(), qMax<qint64>(0, size - room));
  }
  void lift() {
    if (limited_)
      setrlimit(RLIMIT_FSIZE, &saved_);
    limited_ = false;
    QFile::remove(path(QStringLiteral(".filler")));
  }
  bool makeReadOnly() {
    return mounted_ && QProcess::execute(
                           QStringLiteral("mount"),
                           {QStringLiteral("-o"), QStringLiteral("remount,ro"), dir_.path()}) == 0;
  }
  // Everything in the folder but the filler.
  QStringList files() const {
    QStringList names = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(QStringLiteral(".filler"));
    return names;
  }

private:
  QTemporaryDir dir_;
  bool mounted_ = false;
  bool limited_ = false;
  rlimit saved_{};
};

const QByteArray kOld = "old contents\r\nthat must survive\r\n";

QString bigDocument() {
  QString text;
  for (int i = 0; i < 700; ++i)
    text += QStringLiteral("<p>line %1 of a document far larger than the disk</p>\r\n").arg(i);
  return text;
}
} // namespace

class WriteFaultsTest : public QObject {
  Q_OBJECT
private slots:
  void failedSaveKeepsOldFileAndModifiedFlag_data();
  void failedSaveKeepsOldFileAndModifiedFlag();
  void failedBackupKeepsOldBackup();
  void failedSitePageKeepsOldPage();
  void toolOutput_data();
  void toolOutput();
};

void WriteFaultsTest::failedSaveKeepsOldFileAndModifiedFlag_data() {
  QTest::addColumn<QString>("fault");
  QTest::newRow("disk fills midway") << "full";
  QTest::newRow("disk already full") << "no room";
  QTest::newRow("read-only folder") << "read-only";
}

void WriteFaultsTest::failedSaveKeepsOldFileAndModifiedFlag() {
  QFETCH(QString, fault);
  SmallDisk disk;
  const QString target = disk.path(QStringLiteral("page.wml"));
  writeFileBytes(target, kOld);
  if (fault == QLatin1String("read-only") && !disk.makeReadOnly())
    QSKIP("mounting is not permitted here");
  if (fault != QLatin1String("read-only"))
    QVERIFY(disk.fill(fault == QLatin1String("full") ? 16 * 1024 : 0));

  TestServices t;
  SourceEditor editor;
  DocumentFiles files(editor.textDocument(), t.prompts, nullptr);
  DocumentCommands commands(editor.textDocument(), editor, files, t.prompts, t.shell, nullptr);
  editor.textDocument().replaceWholeText(bigDocument());
  editor.insertAtCaret(QStringLiteral("x")); // an unsaved change
  QVERIFY(editor.textDocument().isModified());
  const QString before = editor.textDocument().wholeText();

  t.prompts.answerFile(target);
  commands.save();
  disk.lift();

  QCOMPARE(readFileBytes(target), kOld);
  QCOMPARE(disk.files(), QStringList{QStringLiteral("page.wml")}); // no temporary left over
  QVERIFY(editor.textDocument().isModified());
  QCOMPARE(editor.textDocument().wholeText(), before);
  QCOMPARE(t.prompts.asked.size(), 2);
  const QString prefix = QStringLiteral("Cannot create file \"%1\". ").arg(target);
  QCOMPARE(t.prompts.asked.last().caption, QStringLiteral("Error"));
  QVERIFY2(t.prompts.asked.last().text.startsWith(prefix), qPrintable(t.prompts.asked.last().text));
  QVERIFY(t.prompts.asked.last().text.size() > prefix.size());

  // Once there is room again the same save goes through.
  if (fault != QLatin1String("read-only")) {
    t.prompts.answerFile(target);
    commands.save();
    QCOMPARE(readFileBytes(target), before.toUtf8());
    QVERIFY(!editor.textDocument().isModified());
  }
}

void WriteFaultsTest::failedBackupKeepsOldBackup() {
  SmallDisk disk;
  writeFileBytes(disk.path(QStringLiteral("backup.wml")), kOld);
  QVERIFY(disk.fill(8 * 1024));
  TestServices t;
  SourceEditor editor;
  DocumentFiles files(editor.textDocument(), t.prompts, nullptr);
  editor.textDocument().replaceWholeText(bigDocument());
  editor.insertAtCaret(QStringLiteral("x"));
  QAction item;
  Backup backup(&item, files, t.prompts, disk.path(QString()), nullptr);
  t.prompts.answerButton(QMessageBox::Ok);
  backup.writeBackup();
  disk.lift();

  QCOMPARE(readFileBytes(disk.path(QStringLiteral("backup.wml"))), kOld);
  QCOMPARE(disk.files(), QStringList{QStringLiteral("backup.wml")});
  QVERIFY(editor.textDocument().isModified());
  QCOMPARE(t.prompts.asked.size(), 1);
  QVERIFY(t.prompts.asked.first().text.startsWith(QStringLiteral("Cannot create file \"")));

  backup.writeBackup();
  QCOMPARE(readFileBytes(disk.path(QStringLiteral("backup.wml"))),
           editor.textDocument().wholeText().toUtf8());
}

void WriteFaultsTest::failedSitePageKeepsOldPage() {
  SmallDisk disk;
  const QString target = disk.path(QStringLiteral("site.wml"));
  writeFileBytes(target, kOld);
  QVERIFY(disk.fill(0));
  ScriptedPrompts prompts;
  SiteWizard wizard(prompts);
  wizard.show();
  wizard.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("Kept"));
  prompts.answerFile(target);
  prompts.answerButton(QMessageBox::Ok);
  wizard.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
  disk.lift();

  QCOMPARE(prompts.asked.size(), 2);
  QVERIFY2(wizard.isVisible(), qPrintable(prompts.asked.last().text));
  QCOMPARE(readFileBytes(target), kOld);
  QCOMPARE(disk.files(), QStringList{QStringLiteral("site.wml")});
  QVERIFY(prompts.asked.last().text.startsWith(
      QStringLiteral("Cannot create file \"%1\". ").arg(target)));
  QVERIFY(!prompts.anyUnexpected());
}

QTEST_MAIN(WriteFaultsTest)
#include "tst_writefaults.moc"

// What --compile and --wbmp write: the new file whole, or the old one as it
// was and nothing else left in the folder; a replaced file keeps its
// permissions.
void WriteFaultsTest::toolOutput_data() {
  QTest::addColumn<QString>("fault");
  QTest::addColumn<bool>("written");
  QTest::newRow("new file") << "none" << true;
  QTest::newRow("replaces an older one") << "old" << true;
  QTest::newRow("disk fills midway") << "full" << false;
  QTest::newRow("read-only folder") << "read-only" << false;
  QTest::newRow("a folder by that name") << "folder" << false;
  QTest::newRow("through a link, which stays") << "link" << true;
}

void WriteFaultsTest::toolOutput() {
  QFETCH(QString, fault);
  QFETCH(bool, written);
  SmallDisk disk;
  const QString target = disk.path(QStringLiteral("unit.wmlsc"));
  const QByteArray bytes(40 * 1024, 'x');
  const bool hadOld = fault != QLatin1String("none") && fault != QLatin1String("folder");
  // Through a link, the file it names is written; the link itself stays.
  const bool linked = fault == QLatin1String("link");
  const QString file = linked ? disk.path(QStringLiteral("real.wmlsc")) : target;
  if (hadOld) {
    writeFileBytes(file, kOld);
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
  }
  if (linked)
    QVERIFY(QFile::link(file, target));
  if (fault == QLatin1String("folder"))
    QVERIFY(QDir().mkpath(target));
  if (fault == QLatin1String("read-only") && !disk.makeReadOnly())
    QSKIP("mounting is not permitted here");
  if (fault == QLatin1String("full"))
    QVERIFY(disk.fill(16 * 1024));

  QString message;
  QTextStream err(&message);
  QCOMPARE(writeModeOutput(target, bytes, err), written);
  disk.lift();
  err.flush();
  QCOMPARE(message.startsWith(target + QStringLiteral(": cannot write: ")), !written);
  if (fault == QLatin1String("folder")) {
    QVERIFY(QFileInfo(target).isDir());
    QCOMPARE(disk.files(), QStringList());
    return;
  }
  QStringList expected{QStringLiteral("unit.wmlsc")};
  if (linked) {
    expected.prepend(QStringLiteral("real.wmlsc"));
    QVERIFY(QFileInfo(target).isSymLink());
  }
  QCOMPARE(disk.files(), expected);
  QCOMPARE(readFileBytes(file), written ? bytes : kOld);
  if (hadOld)
    QCOMPARE(QFile::permissions(file) & 0x7077, // owner, group and others
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}
