// Opening compiled decks: recognised by content, decoded in a child
// process; a truncated or corrupted one gives the error and keeps the
// current document.
#include "CompiledSample.h"
#include "TestServices.h"
#include "app/MainWindow.h"
#include "deck/CompiledDeckReader.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "wml/script/ScriptCompiler.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

namespace {

const QString kDecompiled =
    QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                   "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                   "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\r\n"
                   "<wml>\r\n  <card id=\"a\">\r\n    <p>Hi $(x)</p>\r\n  </card>\r\n</wml>\r\n");

QByteArray corrupted() {
  QByteArray bytes = kCompiledSample;
  bytes[4] = '\x3A'; // a tag token WML does not have
  return bytes;
}

} // namespace

class TestCompiledOpen : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

  QString put(const QString& name, const QByteArray& bytes) {
    QFile file(dir_.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
      return {};
    file.write(bytes);
    return file.fileName();
  }

private slots:
  void initTestCase() { QVERIFY(QFileInfo(CompiledDeckReader::defaultProgram()).isExecutable()); }

  void opensByContent_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("modified");
    QTest::newRow("compiled deck") << "deck.wmlc" << kCompiledSample << kDecompiled << true;
    QTest::newRow("compiled deck with another name")
        << "deck.bin" << kCompiledSample << kDecompiled << true;
    QTest::newRow("text named .wmlc")
        << "text.wmlc" << QByteArray("<wml/>\n") << QStringLiteral("<wml/>\r\n") << false;
    // Version byte 1 but public identifier 1 (unknown): not a compiled deck.
    QTest::newRow("other WBXML") << "other.wmlc" << QByteArray::fromHex("01016A00")
                                 << QStringLiteral("\x01\x01j") + QChar(0) << false;
  }
  void opensByContent() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, modified);
    TestServices t;
    MainWindow w(t.services());
    w.loadStartupFile(put(name, bytes));
    QVERIFY(t.prompts.asked.isEmpty());
    QCOMPARE(w.editor()->textDocument().wholeText(), text);
    QCOMPARE(w.editor()->textDocument().isModified(), modified);
  }

  void saveProposesSourceBesideTheCompiledDeck() {
    TestServices t;
    MainWindow w(t.services());
    const QString path = put("beside.wmlc", kCompiledSample);
    w.loadStartupFile(path);
    t.prompts.answerFile(QString()); // cancel
    w.files().saveToChosenFile();
    QCOMPARE(t.prompts.asked.size(), 1);
    QCOMPARE(t.prompts.asked[0].file.initialName, dir_.filePath("beside.wml"));
    // Its relative links are looked for beside the compiled deck.
    QCOMPARE(w.textDocument().filePath(), dir_.filePath("beside.wml"));
  }

  void badDeckKeepsTheDocument_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("truncated")
        << kCompiledSample.left(12)
        << "Cannot open compiled deck: the file ends in the middle of the deck";
    QTest::newRow("corrupted") << corrupted()
                               << "Cannot open compiled deck: a tag token is not one of WML's";
  }
  void badDeckKeepsTheDocument() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TestServices t;
    MainWindow w(t.services());
    w.editor()->insertAtCaret(QStringLiteral("unsaved "));
    const QString before = w.editor()->textDocument().wholeText();
    // Through File > Open, as a user would.
    w.editor()->textDocument().setModified(false);
    t.prompts.answerFile(put("bad.wmlc", bytes));
    w.action(QStringLiteral("Nyomtats1"))->trigger();
    QCOMPARE(t.prompts.asked.size(), 2);
    QCOMPARE(t.prompts.asked[1].text, message);
    QCOMPARE(w.editor()->textDocument().wholeText(), before);
  }

  // Compiled WMLScript opens as its disassembly; bytes that only look like
  // it give the reason and keep the document.
  void compiledScriptOpensAsItsDisassembly_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected"); // in the text, or the error
    const QByteArray unit =
        tessera::wml::script::compileScript("extern function total(a, b) { return a + b; }")
            .bytecode;
    QTest::newRow("compiled script")
        << "calc.wmlsc" << unit << "function 0 extern total (2 arguments, 0 locals";
    QTest::newRow("any name") << "calc.bin" << unit << "function 0 extern total";
    QByteArray broken = unit;
    broken[broken.size() - 1] = '\x7f'; // no instruction has this code
    QTest::newRow("does not verify")
        << "bad.wmlsc" << broken
        << "Cannot open compiled script: |: does not verify: function 0 at byte 3: 0x7f is no "
           "instruction";
  }
  void compiledScriptOpensAsItsDisassembly() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    TestServices t;
    MainWindow w(t.services());
    w.loadStartupFile(put(name, bytes));
    if (expected.startsWith(QLatin1String("Cannot"))) {
      QCOMPARE(t.prompts.asked.size(), 1);
      const QString said = t.prompts.asked[0].text;
      QVERIFY2(said.startsWith(expected.section(u'|', 0, 0)) &&
                   said.endsWith(expected.section(u'|', 1)),
               qPrintable(said));
      QVERIFY(!w.editor()->textDocument().wholeText().contains(QLatin1String("function 0")));
    } else {
      QVERIFY(t.prompts.asked.isEmpty());
      QVERIFY2(w.editor()->textDocument().wholeText().contains(expected),
               qPrintable(w.editor()->textDocument().wholeText()));
    }
  }

  void crashingDecoderCannotReachTheEditor() {
    // A decoder that dies by a signal stands for one a hostile file crashed.
    const QString crasher = put("crash.sh", "#!/bin/sh\nkill -SEGV $$\n");
    QFile::setPermissions(crasher, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const DocumentFiles::ConvertedFile result =
        CompiledDeckReader(crasher)(QString(), kCompiledSample);
    QVERIFY(result.recognised);
    QCOMPARE(result.error,
             QStringLiteral("Cannot open compiled deck: the decoder stopped unexpectedly"));
  }
};

QTEST_MAIN(TestCompiledOpen)
#include "tst_compiledopen.moc"
