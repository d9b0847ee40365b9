// The same source compiled by this program and by the reference compiler
// (wmlsc) runs to the same result in the interpreter: the operators' type
// rules and library calls, each result written out by hand from the
// language's and libraries' standards. Rows wmlsc compiles wrongly say so
// and compare only ours.
#include "ReferenceCompiler.h"
#include "wml/script/Interpreter.h"
#include "wml/script/LocalScriptHost.h"
#include "wml/script/ScriptCompiler.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tessera::wml::script;

namespace {

QString runUnit(const QByteArray& bytecode) {
  VerifyResult verified = loadBytecode(bytecode);
  if (!verified.unit)
    return QStringLiteral("does not verify: ") + verified.error;
  QTemporaryDir dir;
  LocalScriptHost host{QDir(dir.path())};
  host.variables().insert(QStringLiteral("v"), QStringLiteral("7"));
  Interpreter machine(host);
  machine.seedRandom(1);
  machine.start(verified.unit, QUrl(QStringLiteral("http://example.com/app/u.wmls")),
                QStringLiteral("f"), {});
  machine.run();
  if (machine.state() == Interpreter::State::Failed)
    return QStringLiteral("fatal ") + fatalErrorName(machine.error());
  return describeValue(machine.result());
}

} // namespace

class ScriptSameRunsTest : public QObject {
  Q_OBJECT
private slots:
  void sameResult_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("result");
    auto row = [](const char* expression, const char* result) {
      QTest::newRow(expression) << QString(expression) << QString(result);
    };
    // Arithmetic and conversions.
    row("1 + 2 * 3", "integer 7");
    row("7 / 2", "float 3.5");
    row("7 div 2", "integer 3");
    row("-7 % 3", "integer -1");
    row("2147483647 + 1", "invalid"); // integer overflow is non-fatal: invalid
    row("1 / 0", "invalid");
    row("\"3\" + 4", "string \"34\"");
    row("\"3\" * 4", "integer 12");
    row("\"x\" * 4", "invalid");
    row("1.5 + 1", "float 2.5");
    row("true + 1", "integer 2");
    row("invalid + 1", "invalid");
    row("1 << 31", "integer -2147483648");
    row("-8 >> 1", "integer -4");
    row("-8 >>> 28", "integer 15");
    row("5 & 3 | 8 ^ 1", "integer 9");
    row("~5", "integer -6");
    // Comparisons and logic.
    row("\"abc\" < \"abd\"", "boolean true");
    row("\"10\" < 9", "boolean true"); // a string operand: compared as strings
    row("1 == 1.0", "boolean true");
    row("invalid == invalid", "invalid");
    row("0 || \"x\"", "boolean true");
    row("invalid && false", "invalid");
    row("false && invalid", "boolean false");
    row("isvalid (1 / 0)", "boolean false");
    row("typeof 1.0", "integer 1");
    row("typeof \"\"", "integer 2");
    row("true ? 1 : 2", "integer 1");
    // Libraries.
    row("Lang.parseInt(\" 42x\")", "integer 42");
    row("Lang.parseFloat(\"1e2\")", "float 100.0");
    row("Lang.max(3, 4.5)", "float 4.5");
    row("Float.round(-2.5)", "integer -2");
    row("Float.pow(2, 10)", "float 1024.0");
    row("String.length(\"h\\u00e9llo\")", "integer 5");
    row("String.subString(\"Testing\", 2, 3)", "string \"sti\"");
    row("String.find(\"abcde\", \"cd\")", "integer 2");
    row("String.elementAt(\"a b c\", 5, \" \")", "string \"c\"");
    row("String.replace(\"Hello Joe\", \"Joe\", \"Don\")", "string \"Hello Don\"");
    row("String.squeeze(\"  a   b  \")", "string \" a b \"");
    row("String.format(\"%5.2f|\", 3.14159)", "string \" 3.14|\"");
    row("String.format(\"%4d|%d\", 7)", "string \"   7|\""); // only the first specifier
    row("URL.getPath(\"http://a.b/c/d.wml?x#y\")", "string \"/c/d.wml\"");
    row("URL.escapeString(\"a b/c\")", "string \"a%20b%2fc\"");
    row("URL.resolve(\"http://a/b/c\", \"../d\")", "string \"http://a/d\"");
    row("WMLBrowser.getVar(\"v\") + 1", "string \"71\"");
  }
  void sameResult() {
    QFETCH(QString, expression);
    QFETCH(QString, result);
    const QString source = QStringLiteral("extern function f() { return %1; }\n").arg(expression);
    const ScriptCompileResult ours = compileScript(source);
    QVERIFY2(ours.ok(), qPrintable(tessera::wml::firstErrorText(ours.findings)));
    QCOMPARE(runUnit(ours.bytecode), result);
    const QString wmlsc = oracleProgram(QStringLiteral("wmlsc"));
    if (wmlsc.isEmpty())
      QSKIP("wmlsc is not unpacked (scripts/oracles.sh)");
    const ReferenceAnswer theirs = runReferenceCompiler(wmlsc, source.toUtf8());
    QCOMPARE(theirs.verdict, QStringLiteral("accepts"));
    QCOMPARE(runUnit(theirs.bytecode), result);
  }
};

QTEST_MAIN(ScriptSameRunsTest)
#include "tst_scriptsameruns.moc"
