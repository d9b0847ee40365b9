#include "FileBytes.h"
#include "TestServices.h"
#include "document/DefaultDocument.h"
#include "document/DocumentCommands.h"
#include "document/DocumentFiles.h"
#include "document/FileReading.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace tessera;

// Opening things that are not documents: each must be refused at once with
// the error box, and the document in the editor must stay exactly as it was.
namespace {

// Unblocks a FIFO opener that waits for a writer, so a regression fails the
// test instead of hanging the whole suite.
class FifoRescuer {
public:
  explicit FifoRescuer(const QByteArray& path)
      : thread_([this, path] {
          for (int i = 0; i < 100 && !done_; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
          if (!done_) {
            // Succeeds only while a reader waits on the FIFO: opening hung.
            const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
              rescued_ = true;
              ::close(fd);
            }
          }
        }) {}
  ~FifoRescuer() { finish(); }
  // Stops watching; true when the load had to be freed by a writer.
  bool finish() {
    done_ = true;
    if (thread_.joinable())
      thread_.join();
    return rescued_;
  }

private:
  std::atomic<bool> done_{false};
  std::atomic<bool> rescued_{false};
  std::thread thread_;
};
} // namespace

class OpenFaultsTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void refusedKeepsTheDocument_data();
  void refusedKeepsTheDocument();
  void capacityBoundary_data();
  void capacityBoundary();
  void failedOpenCommandKeepsModifiedDocument();
  void everyByteSurvivesLoadAndSave_data();
  void everyByteSurvivesLoadAndSave();

private:
  QString prepare(const QString& kind);
  QScopedPointer<QTemporaryDir> dir;
  QScopedPointer<TestServices> t;
  QScopedPointer<SourceEditor> editor;
  QScopedPointer<DocumentFiles> files;
  int writerFd = -1;
};

void OpenFaultsTest::init() {
  if (writerFd >= 0)
    ::close(writerFd);
  writerFd = -1;
  dir.reset(new QTemporaryDir);
  t.reset(new TestServices);
  editor.reset(new SourceEditor);
  editor->textDocument().replaceWholeText(defaultDocument());
  editor->textDocument().setModified(false);
  files.reset(new DocumentFiles(editor->textDocument(), t->prompts, nullptr));
}

QString OpenFaultsTest::prepare(const QString& kind) {
  const QString fifo = dir->filePath(QStringLiteral("pipe.wml"));
  if (kind == QLatin1String("missing"))
    return dir->filePath(QStringLiteral("missing.wml"));
  if (kind == QLatin1String("directory"))
    return dir->path();
  if (kind == QLatin1String("link to directory")) {
    const QString link = dir->filePath(QStringLiteral("dirlink.wml"));
    QFile::link(dir->path(), link);
    return link;
  }
  if (kind == QLatin1String("dangling link")) {
    const QString link = dir->filePath(QStringLiteral("dangling.wml"));
    QFile::link(dir->filePath(QStringLiteral("gone.wml")), link);
    return link;
  }
  if (kind == QLatin1String("link loop")) {
    const QString a = dir->filePath(QStringLiteral("a.wml"));
    const QString b = dir->filePath(QStringLiteral("b.wml"));
    QFile::link(b, a);
    QFile::link(a, b);
    return a;
  }
  if (kind.startsWith(QLatin1String("fifo"))) {
    if (::mkfifo(QFile::encodeName(fifo).constData(), 0600) != 0)
      return {};
    if (kind == QLatin1String("fifo with a writer")) {
      // A writer that keeps the pipe open and sends endless text.
      writerFd = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK);
      const QByteArray some(4096, 'x');
      if (::write(writerFd, some.constData(), size_t(some.size())) < 0)
        return {};
    }
    return fifo;
  }
  if (kind == QLatin1String("endless device"))
    return QStringLiteral("/dev/zero");
  if (kind == QLatin1String("random device"))
    return QStringLiteral("/dev/urandom");
  if (kind == QLatin1String("empty device"))
    return QStringLiteral("/dev/null");
  if (kind == QLatin1String("too large")) {
    const QString path = dir->filePath(QStringLiteral("large.wml"));
    writeFileBytes(path, QByteArray(5000, 'x'));
    return path;
  }
  if (kind == QLatin1String("grows past capacity by line breaks")) {
    // 3000 bytes, but 1500 lone LFs become 3000 characters more.
    const QString path = dir->filePath(QStringLiteral("breaks.wml"));
    writeFileBytes(path, QByteArray(1500, 'a') + QByteArray(1500, '\n'));
    return path;
  }
  return {};
}

void OpenFaultsTest::refusedKeepsTheDocument_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("message");
  const QString cannotOpen = QStringLiteral("Cannot open file \"%1\". ");
  const QString capacity = QStringLiteral("Text exceeds memo capacity");
  QTest::newRow("missing") << "missing" << cannotOpen;
  QTest::newRow("directory") << "directory" << cannotOpen;
  QTest::newRow("link to directory") << "link to directory" << cannotOpen;
  QTest::newRow("dangling link") << "dangling link" << cannotOpen;
  QTest::newRow("link loop") << "link loop" << cannotOpen;
  QTest::newRow("fifo without a writer") << "fifo without a writer" << cannotOpen;
  QTest::newRow("fifo with a writer") << "fifo with a writer" << cannotOpen;
  QTest::newRow("endless device") << "endless device" << cannotOpen;
  QTest::newRow("random device") << "random device" << cannotOpen;
  QTest::newRow("empty device") << "empty device" << cannotOpen;
  QTest::newRow("too large") << "too large" << capacity;
  QTest::newRow("line breaks") << "grows past capacity by line breaks" << capacity;
}

void OpenFaultsTest::refusedKeepsTheDocument() {
  QFETCH(QString, kind);
  QFETCH(QString, message);
  files->setCapacity(4000);
  const QString path = prepare(kind);
  QVERIFY2(!path.isEmpty(), "could not prepare the file");
  editor->insertAtCaret(QStringLiteral("kept\r\ntext"));
  editor->setSelection(tessera::TextPosition(6), 3);
  const QString before = editor->textDocument().wholeText();
  QSignalSpy changes(editor.data(), &SourceEditor::statusChanged);

  FifoRescuer rescuer(QFile::encodeName(path));
  QVERIFY(!files->loadFile(path));
  QVERIFY2(!rescuer.finish(), "opening waited for a writer");

  QCOMPARE(editor->textDocument().wholeText(), before);
  QCOMPARE(editor->selectionStart().value, 6);
  QCOMPARE(editor->selectionLength(), 3);
  QVERIFY(editor->textDocument().isModified());
  QCOMPARE(changes.count(), 0);
  QCOMPARE(t->prompts.asked.size(), 1);
  QCOMPARE(t->prompts.asked.first().caption, QStringLiteral("Error"));
  const QString text = t->prompts.asked.first().text;
  if (message.contains(QLatin1String("%1"))) {
    QVERIFY2(text.startsWith(message.arg(path)), qPrintable(text));
    QVERIFY2(text.size() > message.arg(path).size(), "the reason is missing");
  } else {
    QCOMPARE(text, message);
  }
}

void OpenFaultsTest::capacityBoundary_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<bool>("loads");
  QTest::newRow("exactly the capacity") << QByteArray(100, 'x') << true;
  QTest::newRow("one byte more") << QByteArray(101, 'x') << false;
  QTest::newRow("CR LF at the capacity")
      << QByteArray(49, 'x') + "\r\n" + QByteArray(49, 'y') << true;
  QTest::newRow("LF grows one past") << QByteArray(50, 'x') + "\n" + QByteArray(49, 'y') << false;
  QTest::newRow("empty") << QByteArray() << true;
}

void OpenFaultsTest::capacityBoundary() {
  QFETCH(QByteArray, bytes);
  QFETCH(bool, loads);
  files->setCapacity(100);
  const QString path = dir->filePath(QStringLiteral("edge.wml"));
  writeFileBytes(path, bytes);
  QCOMPARE(files->loadFile(path), loads);
  QCOMPARE(editor->textDocument().wholeText() == defaultDocument(), !loads);
  if (loads)
    QVERIFY(editor->textDocument().textLength() <= 100);
  // The reader alone: never more than the limit in hand.
  const FileReadResult read = readAtMost(path, 100);
  QCOMPARE(read.status == FileReadResult::TooLarge, bytes.size() > 100);
  QVERIFY(read.bytes.size() <= 100);
}

void OpenFaultsTest::failedOpenCommandKeepsModifiedDocument() {
  // The user declines to save, then picks a FIFO: the unsaved text stays
  // and still counts as unsaved, so closing will still ask.
  Services services = t->services();
  DocumentCommands commands(editor->textDocument(), *editor, *files, t->prompts, services.shell,
                            nullptr);
  editor->insertAtCaret(QStringLiteral("unsaved"));
  QVERIFY(editor->textDocument().isModified());
  const QString before = editor->textDocument().wholeText();
  const QString fifo = prepare(QStringLiteral("fifo without a writer"));
  t->prompts.answerButton(QMessageBox::No);
  t->prompts.answerFile(fifo);
  t->prompts.answerButton(QMessageBox::Ok);
  {
    FifoRescuer rescuer(QFile::encodeName(fifo));
    commands.open();
  }
  QCOMPARE(editor->textDocument().wholeText(), before);
  QVERIFY(editor->textDocument().isModified());
  QVERIFY(!t->prompts.anyUnexpected());
  QVERIFY(t->prompts.asked.last().text.startsWith(QStringLiteral("Cannot open file")));
}

void OpenFaultsTest::everyByteSurvivesLoadAndSave_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::newRow("paragraph separator") << QStringView(u"a\u2029b\r\n").toUtf8();
  QTest::newRow("frame marks") << QStringView(u"a\uFDD0b\uFDD1c\r\n").toUtf8();
  QTest::newRow("line separator") << QStringView(u"a\u2028b\r\n").toUtf8();
  QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF<wml/>\r\n");
  QTest::newRow("NUL") << QByteArray("a\0b\r\n", 6);
  QTest::newRow("next line") << QStringView(u"a\u0085b\r\n").toUtf8();
  QTest::newRow("Latin-1") << QByteArray("\xE1rv\xEDz\x85\r\n");
  QByteArray all;
  for (int b = 0; b < 256; ++b)
    if (b != '\r' && b != '\n')
      all += char(b);
  QTest::newRow("every byte") << all;
}

void OpenFaultsTest::everyByteSurvivesLoadAndSave() {
  // Files with CR LF breaks (or none) come back from the editor unchanged.
  QFETCH(QByteArray, bytes);
  const QString in = dir->filePath(QStringLiteral("in.wml"));
  const QString out = dir->filePath(QStringLiteral("out.wml"));
  writeFileBytes(in, bytes);
  QVERIFY(files->loadFile(in));
  QVERIFY(files->writeTo(out));
  QFile saved(out);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll().toHex(' '), bytes.toHex(' '));
}

QTEST_MAIN(OpenFaultsTest)
#include "tst_openfaults.moc"
