// The real executable's --check and --compile on WMLScript units: exit
// status, the compiler-style lines, and the files written or kept.
#include "FileBytes.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString program() { return QCoreApplication::applicationDirPath() + "/../bin/tessera"; }

const QByteArray kGood = "extern function add(a, b) {\n  return a + b;\n}\n";
// The mistake is on line 3: the variable is declared after its use.
const QByteArray kLateDeclaration = "extern function f() {\n  // count\n  n = 1;\n  var n;\n}\n";
const QByteArray kDeck = "<?xml version=\"1.0\"?>\n"
                         "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                         "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
                         "<wml><card id=\"a\"><p>Hi</p></card></wml>\n";

} // namespace

class TestScriptCommandLine : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

  struct Run {
    int status = -1;
    QString out;
    QString err;
  };
  Run run(const QStringList& arguments) {
    QProcess process;
    process.setWorkingDirectory(dir_.path());
    process.start(program(), arguments);
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
  }

private slots:
  void initTestCase() {
    QVERIFY(QFileInfo(program()).isExecutable());
    writeFileBytes(dir_.filePath("good.wmls"), kGood);
    writeFileBytes(dir_.filePath("late.wmls"), kLateDeclaration);
    // Latin-1 bytes that are no UTF-8: decoded as the editor decodes a
    // file, the string's é is one character, so the error's column counts
    // it once.
    writeFileBytes(dir_.filePath("latin1.wmls"),
                   "extern function f() { var s = \"\xe9\"; t = s; }\n");
    writeFileBytes(dir_.filePath("crlf.wmls"), "extern function f()\r\n{\r\n  break;\r\n}\r\n");
    writeFileBytes(dir_.filePath("deck.wml"), kDeck);
  }

  void modes_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("errStart");
    QTest::newRow("check, clean") << QStringList{"--check", "good.wmls"} << 0 << ""
                                  << "";
    QTest::newRow("check, error")
        << QStringList{"--check", "late.wmls"} << 1
        << "late.wmls:3:3: error: variable \"n\" is not declared (declare it with \"var\" "
           "before its first use) [undeclared-variable]\n"
        << "";
    QTest::newRow("check, Latin-1 file")
        << QStringList{"--check", "latin1.wmls"} << 1
        << "latin1.wmls:1:36: error: variable \"t\" is not declared (declare it with \"var\" "
           "before its first use) [undeclared-variable]\n"
        << "";
    QTest::newRow("check, CR LF lines")
        << QStringList{"--check", "crlf.wmls"} << 1
        << "crlf.wmls:3:3: error: \"break\" outside a while or for loop [break-outside-loop]\n"
        << "";
    QTest::newRow("check, deck and script mixed")
        << QStringList{"--check", "deck.wml", "good.wmls", "late.wmls"} << 1
        << "late.wmls:3:3: error: variable \"n\" is not declared (declare it with \"var\" "
           "before its first use) [undeclared-variable]\n"
        << "";
    QTest::newRow("check, unreadable script")
        << QStringList{"--check", "good.wmls", "missing.wmls"} << 2 << ""
        << "tessera: cannot read missing.wmls: ";
    QTest::newRow("compile") << QStringList{"--compile", "good.wmls", "-o", "good.wmlsc"} << 0
                             << "good.wmlsc: 19 bytes\n"
                             << "";
    QTest::newRow("compile, error")
        << QStringList{"--compile", "late.wmls", "-o", "late.wmlsc"} << 1 << ""
        << "late.wmls:3:3: error: variable \"n\" is not declared";
    QTest::newRow("compile, unreadable")
        << QStringList{"--compile", "missing.wmls", "-o", "x.wmlsc"} << 2 << ""
        << "missing.wmls: cannot read: ";
    QTest::newRow("compile, no output named: beside the unit")
        << QStringList{"--compile", "good.wmls"} << 0 << "good.wmlsc: 19 bytes\n"
        << "";
  }
  void modes() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, errStart);
    const Run result = run(arguments);
    QCOMPARE(result.out, out);
    // No expected start: nothing on standard error.
    QVERIFY2(errStart.isEmpty() ? result.err.isEmpty() : result.err.startsWith(errStart),
             qPrintable(result.err));
    QCOMPARE(result.status, status);
  }

  // The bytes of a unit worked out by hand from the format: header, an
  // empty constant pool in UTF-8, no pragmas, one extern function "add"
  // with two arguments whose code loads both, adds and returns.
  void compiledFileHoldsTheUnit() {
    QCOMPARE(run({"--compile", "good.wmls", "-o", "exact.wmlsc"}).status, 0);
    QCOMPARE(readFileBytes(dir_.filePath("exact.wmlsc")),
             QByteArray::fromHex("0111" // version 1.1, 17 bytes follow
                                 "00"
                                 "6a" // no constants, character set UTF-8 (106)
                                 "00" // no pragmas
                                 "01"
                                 "01" // one function, one name
                                 "00"
                                 "03"
                                 "616464" // function 0 is "add"
                                 "02"
                                 "00"
                                 "04" // two arguments, no locals, 4 bytes
                                 "e0"
                                 "e1"
                                 "20"
                                 "3a")); // LOAD_VAR_S 0, 1, ADD, RETURN
  }

  void failedCompileKeepsTheOldFile() {
    writeFileBytes(dir_.filePath("kept.wmlsc"), "old");
    QCOMPARE(run({"--compile", "late.wmls", "-o", "kept.wmlsc"}).status, 1);
    QCOMPARE(readFileBytes(dir_.filePath("kept.wmlsc")), QByteArray("old"));
  }
};

QTEST_GUILESS_MAIN(TestScriptCommandLine)
#include "tst_scriptcommandline.moc"
