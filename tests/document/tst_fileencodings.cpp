#include "EncodingCorpus.h"
#include "FileBytes.h"
#include "TestServices.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/NoticeBar.h"
#include "app/StatusLine.h"
#include "document/DocumentCommands.h"
#include "document/DocumentFiles.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>

#include <sys/stat.h>
#include <unistd.h>

using namespace tessera;

namespace {
const QByteArray kPolish("<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?>\r\n<p>N\xB1rme</p>\r\n");
} // namespace

// Loading and saving through the main window: the bytes a save writes, the
// question about characters the encoding cannot hold, the notice, the
// status panel and the encoding menus.
class FileEncodingsTest : public QObject {
  Q_OBJECT
private slots:
  void init() {
    dir.reset(new QTemporaryDir);
    t.reset(new TestServices);
    w.reset(new MainWindow(t->services()));
  }
  void cleanup() {
    w->textDocument().setModified(false);
    w.reset();
  }
  void uneditedSaveKeepsTheBytes_data();
  void uneditedSaveKeepsTheBytes();
  void saveWritesWhatIsShownAfterTheCheck_data();
  void saveWritesWhatIsShownAfterTheCheck();
  void corpusThroughOpenAndSave_data();
  void corpusThroughOpenAndSave();
  void randomFilesThroughOpenAndSave_data();
  void randomFilesThroughOpenAndSave();
  void unencodableCharacterQuestion_data();
  void unencodableCharacterQuestion();
  void noticeAndStatusPanel();
  void declaredLatin1_data();
  void declaredLatin1();
  void fileMenuEncodingItems();
  void saveWithEncodingAndLineBreaks_data();
  void saveWithEncodingAndLineBreaks();
  void reopenWithEncoding();
  void backupIsUtf8();
  void saveKeepsModeAndOwner();
  void saveThroughLinkKeepsTheLink();
  void saveOverAHardLinkReplacesOnlyThatName();
  void exitBeforeTheEventLoopEndsTheProgram();

private:
  QString load(const QByteArray& bytes) {
    const QString path = dir->filePath(QStringLiteral("in.wml"));
    writeFileBytes(path, bytes);
    if (!w->files().loadFile(path))
      return {};
    w->textDocument().setModified(false);
    return path;
  }
  QString panel() const { return w->findChild<QLabel*>(QStringLiteral("EncodingPanel"))->text(); }

  QScopedPointer<QTemporaryDir> dir;
  QScopedPointer<TestServices> t;
  QScopedPointer<MainWindow> w;
};

void FileEncodingsTest::uneditedSaveKeepsTheBytes_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::newRow("UTF-16 LE with mark") << QByteArray("\xFF\xFE<\0w\0>\0\r\0\n\0\xAC\x20", 12);
  QTest::newRow("UTF-8 with mark, LF") << QByteArray("\xEF\xBB\xBF<wml>\n\xC3\xA9\n");
  QTest::newRow("ISO-8859-2") << kPolish;
  QTest::newRow("Shift_JIS") << QByteArray("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
                                           "\x93\xFA\x96\x7B\n");
  QTest::newRow("windows-1252 fallback") << QByteArray("N\xE6rme \x93q\x94\x81\r\n");
  QTest::newRow("declared ISO-8859-1, windows-1252 bytes")
      << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n\x93q\x94 \x80\x81\r\n");
  QTest::newRow("declared ISO-8859-1, its own bytes")
      << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\nN\xE6rme\xA0\xFF\r\n");
  QTest::newRow("no final break") << QByteArray("<wml/>");
}

void FileEncodingsTest::uneditedSaveKeepsTheBytes() {
  QFETCH(QByteArray, bytes);
  QVERIFY(!load(bytes).isEmpty());
  const QString out = dir->filePath(QStringLiteral("out.wml"));
  QVERIFY(w->files().writeTo(out));
  QCOMPARE(readFileBytes(out), bytes);
  QVERIFY(t->prompts.asked.isEmpty());
}

void FileEncodingsTest::saveWritesWhatIsShownAfterTheCheck_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QByteArray>("expected");
  QTest::newRow("UTF-8, LF") << QByteArray("<wml>\n<p>\xC3\xA9</p>\n</wml>\n")
                             << QByteArray("X<wml>\n<p>\xC3\xA9</p>\n</wml>\n");
  QTest::newRow("UTF-8, CR LF") << QByteArray("<wml>\r\n</wml>") << QByteArray("X<wml>\r\n</wml>");
  QTest::newRow("ISO-8859-2") << kPolish << QByteArray("X") + kPolish;
}

// The save encodes the copy of the text the check after an open took, as
// long as the text is the same: a character typed after the check is in
// the file, and an unedited save before it gives the file back.
void FileEncodingsTest::saveWritesWhatIsShownAfterTheCheck() {
  QFETCH(QByteArray, bytes);
  QFETCH(QByteArray, expected);
  const QString path = dir->filePath(QStringLiteral("in.wml"));
  writeFileBytes(path, bytes);
  QVERIFY(w->loadStartupFile(path));
  QTRY_VERIFY(!w->textDocument().heldText().isNull()); // the check has taken its copy
  const QString out = dir->filePath(QStringLiteral("out.wml"));
  QVERIFY(w->files().writeTo(out));
  QCOMPARE(readFileBytes(out), bytes);
  QTextCursor cursor(w->textDocument().qtDocument());
  cursor.insertText(QStringLiteral("X"));
  QVERIFY(w->files().writeTo(out));
  QCOMPARE(readFileBytes(out), expected);
  // Checked again after the pause: the new copy holds the typed character.
  QTRY_VERIFY(!w->textDocument().heldText().isNull());
  QVERIFY(w->files().writeTo(out));
  QCOMPARE(readFileBytes(out), expected);
}

// Every kind of file, opened and saved unedited by the program's own open
// and save (read once, held by the editor's document, written in pieces).
void FileEncodingsTest::corpusThroughOpenAndSave_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("encoding");
  for (const corpus::File& file : corpus::files())
    QTest::newRow(file.name) << file.bytes << file.encoding;
}

void FileEncodingsTest::corpusThroughOpenAndSave() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, encoding);
  TextDocument document;
  DocumentFiles files(document, t->prompts, nullptr);
  const QString in = dir->filePath(QStringLiteral("in.wml"));
  const QString out = dir->filePath(QStringLiteral("out.wml"));
  writeFileBytes(in, bytes);
  QVERIFY(files.loadFile(in));
  QCOMPARE(document.encoding().displayName(), encoding);
  QVERIFY(files.writeTo(out));
  const QByteArray expected = corpus::expectedSave(bytes, decodeFile(bytes));
  QCOMPARE(readFileBytes(out), expected);
  QCOMPARE(expected == bytes, !decodeFile(bytes).mixedLineBreaks);
  QVERIFY(t->prompts.asked.isEmpty()); // nothing to ask about an unedited text
}

void FileEncodingsTest::randomFilesThroughOpenAndSave_data() {
  QTest::addColumn<quint32>("seed");
  for (quint32 seed = 101; seed <= 104; ++seed)
    QTest::addRow("seed %u", seed) << seed;
}

void FileEncodingsTest::randomFilesThroughOpenAndSave() {
  QFETCH(quint32, seed);
  TextDocument document;
  DocumentFiles files(document, t->prompts, nullptr);
  const QString in = dir->filePath(QStringLiteral("in.wml"));
  const QString out = dir->filePath(QStringLiteral("out.wml"));
  const QList<QByteArray> made = corpus::randomFiles(seed, 100);
  for (const QByteArray& bytes : made) {
    writeFileBytes(in, bytes);
    QVERIFY(files.loadFile(in));
    QVERIFY(files.writeTo(out));
    const QByteArray saved = readFileBytes(out);
    const QByteArray expected = corpus::expectedSave(bytes, decodeFile(bytes));
    if (saved != expected)
      QFAIL(qPrintable(QStringLiteral("%1 opened as %2, saved as %3")
                           .arg(QString::fromLatin1(bytes.toHex(' ')),
                                document.encoding().displayName(),
                                QString::fromLatin1(saved.toHex(' ')))));
  }
  QVERIFY(t->prompts.asked.isEmpty());
}

void FileEncodingsTest::unencodableCharacterQuestion_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<QByteArray>("saved"); // empty: nothing written
  QTest::newRow("Use character references") << 0 << kPolish + "&#8364; &#8364;&#8211;";
  QTest::newRow("Save as UTF-8") << 1
                                 << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                               "<p>N\xC4\x85rme</p>\r\n\xE2\x82\xAC "
                                               "\xE2\x82\xAC\xE2\x80\x93");
  QTest::newRow("Cancel") << 2 << QByteArray();
}

void FileEncodingsTest::unencodableCharacterQuestion() {
  QFETCH(int, answer);
  QFETCH(QByteArray, saved);
  QVERIFY(!load(kPolish).isEmpty());
  SourceEditor* editor = w->editor();
  editor->setSelection(w->textDocument().end(), 0);
  editor->insertAtCaret(QStringLiteral("€ €–"));
  const QString out = dir->filePath(QStringLiteral("out.wml"));
  t->prompts.answerFile(out);
  t->prompts.answerChoice(answer);
  w->action(QStringLiteral("Ments1"))->trigger();

  QCOMPARE(t->prompts.asked.size(), 2);
  const ScriptedPrompts::Asked& asked = t->prompts.asked.at(1);
  QCOMPARE(asked.kind, ScriptedPrompts::Asked::Choice);
  QCOMPARE(asked.caption, QStringLiteral("WML Tessera 1.0"));
  QCOMPARE(asked.choices, (QStringList{QStringLiteral("Use character references"),
                                       QStringLiteral("Save as UTF-8"), QStringLiteral("Cancel")}));
  QCOMPARE(asked.text,
           QStringLiteral("The document holds 3 characters that ISO-8859-2 cannot hold: €, €, "
                          "–.\n\nWrite each of them as a numeric character reference (such as "
                          "&#8364;), or save the whole document as UTF-8?"));
  QCOMPARE(QFile::exists(out), !saved.isEmpty());
  if (saved.isEmpty()) {
    QVERIFY(w->textDocument().isModified());
    return;
  }
  QCOMPARE(readFileBytes(out), saved);
  QVERIFY(!w->textDocument().isModified());
  QCOMPARE(panel(),
           answer == 1 ? QStringLiteral("UTF-8 · CR LF") : QStringLiteral("ISO-8859-2 · CR LF"));
}

void FileEncodingsTest::noticeAndStatusPanel() {
  w->show();
  QVERIFY(QTest::qWaitForWindowExposed(w.data()));
  NoticeBar* notice = w->noticeBar();
  QCOMPARE(panel(), QStringLiteral("UTF-8 · CR LF")); // a new document
  QVERIFY(notice->isHidden());

  QVERIFY(!load("caf\xE9\r\n").isEmpty());
  QCOMPARE(panel(), QStringLiteral("windows-1252 · CR LF"));
  QVERIFY(notice->isVisible());
  QVERIFY(notice->geometry().bottom() <= w->editor()->geometry().top()); // above the editor
  QCOMPARE(notice->text(),
           QStringLiteral("This file is not valid UTF-8 and does not name its encoding, so it was "
                          "opened as windows-1252. Saving writes every byte back as it was."));
  notice->findChild<QToolButton*>(QStringLiteral("NoticeClose1"))->click();
  QVERIFY(notice->isHidden());

  QVERIFY(!load("<wml>\n</wml>\n").isEmpty());
  QCOMPARE(panel(), QStringLiteral("UTF-8 · LF"));
  QVERIFY(notice->isHidden());

  QVERIFY(!load("a\rb\r\n").isEmpty());
  QVERIFY(notice->text().contains(QStringLiteral("CR LF")));
  w->action(QStringLiteral("Fjl2"))->trigger(); // New
  QCOMPARE(panel(), QStringLiteral("UTF-8 · CR LF"));
  QVERIFY(notice->isHidden());
}

// A deck declared ISO-8859-1 is read as ISO-8859-1 unless it holds bytes
// 0x80-0x9F; then as windows-1252, said in the panel and told once. A typed
// euro sign is asked about only where the reading cannot hold it.
void FileEncodingsTest::declaredLatin1_data() {
  QTest::addColumn<QByteArray>("body");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<bool>("told");
  QTest::addColumn<QByteArray>("saved"); // the body after typing "€" and saving
  QTest::newRow("its own bytes") << QByteArray("caf\xE9\r\n") << "ISO-8859-1 · CR LF" << false
                                 << QByteArray("caf\xE9\r\n&#8364;");
  QTest::newRow("curly quotes") << QByteArray("\x93"
                                              "caf\xE9\x94\r\n")
                                << "windows-1252 (declared ISO-8859-1) · CR LF" << true
                                << QByteArray("\x93"
                                              "caf\xE9\x94\r\n\x80");
}

void FileEncodingsTest::declaredLatin1() {
  QFETCH(QByteArray, body);
  QFETCH(QString, shown);
  QFETCH(bool, told);
  QFETCH(QByteArray, saved);
  w->show();
  QVERIFY(QTest::qWaitForWindowExposed(w.data()));
  const QByteArray declaration("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n");
  QVERIFY(!load(declaration + body).isEmpty());
  QCOMPARE(panel(), shown);
  const auto* encodingPanel = w->findChild<QLabel*>(QStringLiteral("EncodingPanel"));
  QVERIFY(encodingPanel->width() >= encodingPanel->fontMetrics().horizontalAdvance(shown));
  QCOMPARE(w->noticeBar()->isVisible(), told);
  if (told)
    QVERIFY(w->noticeBar()->text().startsWith(
        QStringLiteral("This file declares ISO-8859-1 but holds bytes that only windows-1252")));

  SourceEditor* editor = w->editor();
  editor->setSelection(w->textDocument().end(), 0);
  editor->insertAtCaret(QStringLiteral("€"));
  const QString out = dir->filePath(QStringLiteral("out.wml"));
  t->prompts.answerFile(out);
  t->prompts.answerChoice(0); // character references
  w->action(QStringLiteral("Ments1"))->trigger();
  QCOMPARE(t->prompts.asked.size(), told ? 1 : 2);
  QCOMPARE(readFileBytes(out), declaration + saved);
  QCOMPARE(panel(), shown);
}

void FileEncodingsTest::fileMenuEncodingItems() {
  QMenu* file = w->menuBar()->findChild<QMenu*>(QStringLiteral("File1"));
  QVERIFY(file);
  const QList<QAction*> items = file->actions();
  const qsizetype save = items.indexOf(w->action(QStringLiteral("Ments1")));
  QVERIFY(save >= 0 && save + 2 < items.size());
  QCOMPARE(items[save + 1]->menu()->objectName(), QStringLiteral("ReopenEncoding1"));
  QCOMPARE(items[save + 1]->text(), QStringLiteral("Reopen with &Encoding"));
  QCOMPARE(items[save + 2]->menu()->objectName(), QStringLiteral("SaveEncoding1"));
  QCOMPARE(items[save + 2]->text(), QStringLiteral("Save with E&ncoding"));

  const QStringList encodings{"UTF-8",        "UTF-16 LE",   "UTF-16 BE",    "ISO-8859-1",
                              "ISO-8859-2",   "ISO-8859-15", "windows-1250", "windows-1251",
                              "windows-1252", "KOI8-R",      "Shift_JIS"};
  const auto texts = [](QMenu* menu) {
    QStringList list;
    for (QAction* a : menu->actions())
      list << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return list;
  };
  QMenu* reopen = items[save + 1]->menu();
  QMenu* saveAs = items[save + 2]->menu();
  QCOMPARE(texts(reopen), encodings);
  QCOMPARE(texts(saveAs), (encodings + QStringList{"-", "Line Breaks CR LF", "Line Breaks LF"}));
  const auto checked = [](QMenu* menu) {
    QStringList list;
    for (QAction* a : menu->actions())
      if (a->isChecked())
        list << a->text();
    return list;
  };
  QCOMPARE(checked(saveAs), (QStringList{"UTF-8", "Line Breaks CR LF"}));
  QVERIFY(!reopen->isEnabled()); // a new document has no file to read again

  QVERIFY(!load(QByteArray("<?xml version='1.0' encoding='KOI8-R'?>\n\xF0\n")).isEmpty());
  QCOMPARE(checked(reopen), QStringList{"KOI8-R"});
  QCOMPARE(checked(saveAs), (QStringList{"KOI8-R", "Line Breaks LF"}));
  QVERIFY(reopen->isEnabled());
  // An encoding the menus do not offer: nothing checked.
  QVERIFY(!load(QByteArray("<?xml version='1.0' encoding='ISO-8859-5'?>\n")).isEmpty());
  QCOMPARE(checked(reopen), QStringList());

  // A converted file (a compiled deck) has only the name it would be saved
  // under, beside it: nothing to read again until it is saved there.
  w->files().setFileConverter([](const QString&, const QByteArray& bytes) {
    return DocumentFiles::ConvertedFile{bytes.startsWith("\x03"), QStringLiteral("<wml/>"), {}};
  });
  const QString compiled = dir->filePath(QStringLiteral("deck.wmlc"));
  writeFileBytes(compiled, "\x03\x01");
  QVERIFY(w->files().loadFile(compiled));
  QCOMPARE(w->textDocument().filePath(), dir->filePath(QStringLiteral("deck.wml")));
  QVERIFY(!reopen->isEnabled());
  t->prompts.answerFile(w->textDocument().filePath());
  w->action(QStringLiteral("Ments1"))->trigger();
  QVERIFY(QFile::exists(w->textDocument().filePath()));
  QVERIFY(reopen->isEnabled());
}

void FileEncodingsTest::saveWithEncodingAndLineBreaks_data() {
  QTest::addColumn<QByteArray>("start");
  QTest::addColumn<QString>("item");
  QTest::addColumn<QByteArray>("saved");
  const QByteArray latin("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n\xE9");
  const QString utf16 = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n\u00e9");
  // The declaration follows the encoding chosen.
  QTest::newRow("UTF-16 LE") << latin << "SaveAsUTF16LE"
                             << QByteArray("\xFF\xFE") +
                                    QByteArray(reinterpret_cast<const char*>(utf16.utf16()),
                                               utf16.size() * 2);
  QTest::newRow("windows-1250") << latin << "SaveAswindows1250"
                                << QByteArray(
                                       "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n\xE9");
  QTest::newRow("line breaks LF")
      << QByteArray("<?xml version=\"1.0\" encoding=\"KOI8-R\"?>\r\n\xC0") << "LineBreaksLf1"
      << QByteArray("<?xml version=\"1.0\" encoding=\"KOI8-R\"?>\n\xC0");
}

void FileEncodingsTest::saveWithEncodingAndLineBreaks() {
  QFETCH(QByteArray, start);
  QFETCH(QString, item);
  QFETCH(QByteArray, saved);
  QVERIFY(!load(start).isEmpty());
  QAction* chosen = w->findChild<QAction*>(item);
  QVERIFY2(chosen, qPrintable(item));
  chosen->trigger();
  const QString out = dir->filePath(QStringLiteral("out.wml"));
  QVERIFY(w->files().writeTo(out));
  QCOMPARE(readFileBytes(out), saved);
  QVERIFY(t->prompts.asked.isEmpty());
}

void FileEncodingsTest::reopenWithEncoding() {
  const QString path = load(QByteArray("\xCF\xF0\xE8\n")); // "При" in windows-1251
  QVERIFY(!path.isEmpty());
  QCOMPARE(w->textDocument().wholeText(), QStringLiteral("Ïðè\r\n"));
  // Modified: the save question comes first; Cancel leaves everything.
  w->editor()->insertAtCaret(QStringLiteral("x"));
  t->prompts.answerButton(QMessageBox::Cancel);
  w->findChild<QAction*>(QStringLiteral("ReopenAswindows1251"))->trigger();
  QCOMPARE(w->textDocument().wholeText(), QStringLiteral("xÏðè\r\n"));
  QCOMPARE(panel(), QStringLiteral("windows-1252 · LF"));

  t->prompts.answerButton(QMessageBox::No);
  w->findChild<QAction*>(QStringLiteral("ReopenAswindows1251"))->trigger();
  QCOMPARE(w->textDocument().wholeText(), QStringLiteral("При\r\n"));
  QVERIFY(!w->textDocument().isModified());
  QCOMPARE(panel(), QStringLiteral("windows-1251 · LF"));
  QVERIFY(w->noticeBar()->isHidden());
  // Not valid in the chosen one: the fallback, and the notice says so.
  w->findChild<QAction*>(QStringLiteral("ReopenAsShiftJIS"))->trigger();
  QCOMPARE(panel(), QStringLiteral("windows-1252 · LF"));
  QVERIFY(w->noticeBar()->text().startsWith(QStringLiteral("This file is not valid Shift_JIS")));
}

void FileEncodingsTest::backupIsUtf8() {
  QVERIFY(!load(kPolish).isEmpty());
  w->editor()->insertAtCaret(QStringLiteral("€"));
  QCOMPARE(w->files().documentBytes(),
           QByteArray("\xE2\x82\xAC<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?>\r\n"
                      "<p>N\xC4\x85rme</p>\r\n"));
  QVERIFY(t->prompts.asked.isEmpty());
}

void FileEncodingsTest::saveKeepsModeAndOwner() {
  const QString path = dir->filePath(QStringLiteral("kept.wml"));
  for (const mode_t mode : {mode_t(0640), mode_t(0604), mode_t(0444)}) {
    writeFileBytes(path, "old");
    QVERIFY(::chmod(QFile::encodeName(path).constData(), mode) == 0);
    const bool root = ::geteuid() == 0;
    if (root)
      QVERIFY(::chown(QFile::encodeName(path).constData(), 4321, 8765) == 0);
    const bool written = w->files().writeTo(path);
    // Only root may replace a read-only file; the mode stays either way.
    QCOMPARE(written, root || (mode & S_IWUSR));
    struct stat info {};
    QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
    QCOMPARE(info.st_mode & 07777, mode);
    if (root) {
      QCOMPARE(info.st_uid, uid_t(4321));
      QCOMPARE(info.st_gid, gid_t(8765));
    }
    if (written)
      QCOMPARE(readFileBytes(path), w->textDocument().wholeText().toUtf8());
    QFile::remove(path);
    t->prompts.clear();
  }
}

void FileEncodingsTest::saveThroughLinkKeepsTheLink() {
  const QString target = dir->filePath(QStringLiteral("target.wml"));
  const QString link = dir->filePath(QStringLiteral("link.wml"));
  writeFileBytes(target, "old");
  QVERIFY(QFile::link(target, link));
  QVERIFY(w->files().writeTo(link));
  QCOMPARE(QFileInfo(link).symLinkTarget(), target);
  QCOMPARE(readFileBytes(target), w->textDocument().wholeText().toUtf8());
}

// A save writes a new file and renames it over the old one (a failed
// write then leaves the old file whole), so a second hard link to the old
// file keeps the old bytes: the saved name is a file of its own.
void FileEncodingsTest::saveOverAHardLinkReplacesOnlyThatName() {
  const QString saved = dir->filePath(QStringLiteral("saved.wml"));
  const QString other = dir->filePath(QStringLiteral("other.wml"));
  writeFileBytes(saved, "old");
  QVERIFY(::link(QFile::encodeName(saved).constData(), QFile::encodeName(other).constData()) == 0);
  QVERIFY(w->files().writeTo(saved));
  QCOMPARE(readFileBytes(saved), w->textDocument().wholeText().toUtf8());
  QCOMPARE(readFileBytes(other), QByteArray("old"));
  struct stat savedInfo {
  }, otherInfo{};
  QVERIFY(::stat(QFile::encodeName(saved).constData(), &savedInfo) == 0);
  QVERIFY(::stat(QFile::encodeName(other).constData(), &otherInfo) == 0);
  QVERIFY(savedInfo.st_ino != otherInfo.st_ino);
  QCOMPARE(otherInfo.st_nlink, nlink_t(1));
}

void FileEncodingsTest::exitBeforeTheEventLoopEndsTheProgram() {
  quitWhenClosed(*w);
  QSignalSpy closed(w.data(), &MainWindow::closed);
  w->show();
  // Exit before any event loop has run: the tools window's start-up timer
  // and the window's first painting are still to come.
  w->action(QStringLiteral("Kilps1"))->trigger();
  QCOMPARE(closed.count(), 1);
  QVERIFY(!w->isVisible());
  QTimer watchdog;
  watchdog.setSingleShot(true);
  connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  watchdog.start(5000);
  QCOMPARE(QCoreApplication::exec(), 0); // the loop ended by itself
}

QTEST_MAIN(FileEncodingsTest)
#include "tst_fileencodings.moc"
