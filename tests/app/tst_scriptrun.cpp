#include "BytecodeBuilder.h"
#include "app/CommandLine.h"

#include <QTemporaryDir>
#include <QtTest>

using bytecode::code;

namespace {

// Units written instruction by instruction (see each comment for what they
// do in WMLScript).
QByteArray unitNamed(const QString& name) {
  using namespace bytecode;
  if (name ==
      "sum") // function main(n) { var i = 0, s = 0; while (i < n) { s += i; i++; } return s; }
    return unit({}, {{"main", 1, 2, code("14 41 14 42 e1 e0 2f c5 e1 1d 02 71 a8 e2 3a")}});
  if (name ==
      "browser") // WMLBrowser.setVar("n", "v"); WMLBrowser.go("a.wml"); return getVar("name");
    return unit({utf8("n"), utf8("v"), utf8("a.wml"), utf8("name")},
                {{"main", 0, 0, code("50 51 69 04 37 52 6a 04 37 53 68 04 3a")}});
  if (name ==
      "dialogs") // r = prompt("Name?", "Bob"); if (confirm(r, "", "")) alert("yes"); return r;
    return unit({utf8("Name?"), utf8("Bob"), utf8("yes")},
                {{"main", 0, 1, code("50 51 68 05 40 e0 17 17 69 05 c4 52 6a 05 37 e0 3a")}});
  if (name == "abort") // WMLBrowser.go("a.wml"); Lang.abort("bad \"x\"");
    return unit({utf8("a.wml"), utf8("bad \"x\"")},
                {{"main", 0, 0, code("50 6a 04 37 51 0a 0b 00 3b")}});
  if (name == "values") // half() returns 0.5; text() returns a string needing escapes
    return unit({float32(0.5f), utf8("a\"b\\c\n")},
                {{"half", 0, 0, code("50 3a")}, {"text", 0, 0, code("51 3a")}});
  if (name == "load") // return URL.loadString(file, "text/plain");
    return unit({utf8("text/plain")}, {{"load", 1, 0, code("e0 50 0a 0d 03 3a")}});
  if (name == "endless") // for (;;);
    return unit({}, {{"main", 0, 0, code("a0")}});
  return {};
}

} // namespace

// `tessera --run` and `--disassemble` as a person types them: what they
// print, one line each, and their exit statuses.
class ScriptRunTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    for (const char* name : {"sum", "browser", "dialogs", "abort", "values", "load", "endless"}) {
      QFile file(dir_.filePath(QString::fromLatin1(name) + ".wmlsc"));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(unitNamed(QString::fromLatin1(name)));
    }
    QFile data(dir_.filePath("data.txt"));
    QVERIFY(data.open(QIODevice::WriteOnly));
    data.write("hi\n");
    QFile garbage(dir_.filePath("garbage.wmlsc"));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("not bytecode at all");
  }

  void runs_data() {
    QTest::addColumn<QStringList>("arguments"); // unit name first
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("errStart");
    auto row = [](const char* name, QStringList args, int status, const char* out,
                  const char* err = "") { QTest::newRow(name) << args << status << out << err; };
    row("loop", {"sum", "main(10)"}, 0, "ret integer 45\nnav none\n");
    row("string argument", {"sum", "main( \"4\" )"}, 0, "ret integer 6\nnav none\n");
    row("float argument", {"sum", "main(1.5)"}, 0, "ret integer 1\nnav none\n");
    row("browser", {"browser", "main()", "--var", "name=Jo", "--var", "x=a=b"}, 0,
        "ret string \"Jo\"\nvar n=\"v\"\nvar name=\"Jo\"\nvar x=\"a=b\"\nnav go \"a.wml\"\n");
    row("dialogs answered", {"dialogs", "main()", "--answer", "Ann", "--answer", "ok"}, 0,
        "dialog prompt \"Name?\"\ndialog confirm \"Ann\"\ndialog alert \"yes\"\n"
        "ret string \"Ann\"\nnav none\n");
    row("confirm cancelled", {"dialogs", "main()", "--answer", "Ann", "--answer", "cancel"}, 0,
        "dialog prompt \"Name?\"\ndialog confirm \"Ann\"\nret string \"Ann\"\nnav none\n");
    row("dialogs unanswered", {"dialogs", "main()"}, 0,
        "dialog prompt \"Name?\"\ndialog confirm \"\"\nret string \"\"\nnav none\n");
    row("confirm answer not ok or cancel",
        {"dialogs", "main()", "--answer", "A", "--answer", "yes"}, 2,
        "dialog prompt \"Name?\"\ndialog confirm \"A\"\n", "--answer yes");
    row("abort", {"abort", "main()"}, 1, "abort \"bad \\\"x\\\"\"\nnav none\n",
        "abort.wmlsc#main: programmed abort: bad \"x\"");
    row("float result", {"values", "half()"}, 0, "ret float 0.5\nnav none\n");
    row("escaped result", {"values", "text()"}, 0, "ret string \"a\\\"b\\\\c\\n\"\nnav none\n");
    row("load beside", {"load", "load('data.txt')"}, 0, "ret string \"hi\\n\"\nnav none\n");
    row("load outside", {"load", "load('../data.txt')"}, 0, "ret integer 403\nnav none\n");
    row("load missing", {"load", "load('none.txt')"}, 0, "ret integer 404\nnav none\n");
    row("endless", {"endless", "main()"}, 1, "nav none\n", "endless.wmlsc#main: stopped by");
    row("no such function", {"sum", "other(1)"}, 1, "nav none\n",
        "sum.wmlsc#other: external function not found");
    row("argument count", {"sum", "main()"}, 1, "nav none\n", "sum.wmlsc#main: invalid function");
    row("not bytecode", {"garbage", "main()"}, 1, "", "garbage.wmlsc: not valid bytecode");
    row("missing unit", {"missing", "main()"}, 2, "", "missing.wmlsc: cannot read");
    row("call syntax", {"sum", "main(1+2)"}, 2, "", "main(1+2): not a call");
    row("integer out of range", {"sum", "main(2147483648)"}, 2, "", "main(2147483648): not a call");
    row("var without value", {"sum", "main(1)", "--var", "novalue"}, 2, "",
        "tessera: --var novalue: expected NAME=VALUE\nUsage: tessera --run UNIT");
    row("unknown option", {"sum", "main(1)", "--verbose"}, 2, "",
        "tessera: unknown option --verbose\nUsage: tessera --run UNIT");
    row("call missing", {"sum"}, 2, "",
        "tessera: --run: expected a UNIT and a call 'f(ARGS)', not 1 operands\n");
  }
  void runs() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, errStart);
    arguments[0] = dir_.filePath(arguments[0] + ".wmlsc");
    QString outText;
    QString errText;
    QTextStream outStream(&outText);
    QTextStream errStream(&errText);
    QCOMPARE(
        tessera::runWindowless(QStringList{"--run"} + arguments, outStream, errStream, nullptr),
        status);
    outStream.flush();
    errStream.flush();
    QCOMPARE(outText, out);
    const QString errShown =
        errText.startsWith(dir_.path()) ? errText.mid(dir_.path().size() + 1) : errText;
    if (errStart.isEmpty() && status != 1)
      QVERIFY2(errText.isEmpty(), qPrintable(errText));
    else
      QVERIFY2(errShown.startsWith(errStart), qPrintable(errText));
  }

  void disassembles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("outStart");
    QTest::newRow("unit") << "sum.wmlsc" << 0 << "; WMLScript bytecode 1.1, 31 bytes\n";
    QTest::newRow("not bytecode") << "garbage.wmlsc" << 1 << "";
    QTest::newRow("missing") << "none.wmlsc" << 2 << "";
  }
  void disassembles() {
    QFETCH(QString, file);
    QFETCH(int, status);
    QFETCH(QString, outStart);
    QString outText;
    QString errText;
    QTextStream outStream(&outText);
    QTextStream errStream(&errText);
    QCOMPARE(tessera::runWindowless({"--disassemble", dir_.filePath(file)}, outStream, errStream,
                                    nullptr),
             status);
    outStream.flush();
    QVERIFY2(outStart.isEmpty() ? outText.isEmpty() : outText.startsWith(outStart),
             qPrintable(outText));
    QCOMPARE(errText.isEmpty(), status == 0);
  }

private:
  QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(ScriptRunTest)
#include "tst_scriptrun.moc"
