#include "ReferenceCompiler.h"
#include "ScriptSources.h"

#include "wml/script/ScriptCompiler.h"

#include <QTest>

using namespace tessera::wml;
using namespace tessera::wml::script;

// Every compile-time error and warning with the place it is reported, and
// beside it what the reference compiler (wmlsc) answers for the same unit.
// Where the two disagree, the last column names the section of the
// WMLScript standard that decides (the standard wins).
class ScriptChecksTest : public QObject {
  Q_OBJECT

private:
  static void addColumns() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("rule");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("decidedBy");
  }

  static void cases() {
    addColumns();
    // clang-format off
    QTest::newRow("duplicate function") << "extern function f() {}\nfunction f() {}\n" << "duplicate-function" << 2 << 10 << "error 2" << "";
    QTest::newRow("duplicate variable") << "extern function f() {\n  var a;\n  var a;\n}\n" << "duplicate-variable" << 3 << 7 << "error 3" << "";
    QTest::newRow("variable named as a parameter") << "extern function f(a) { var a = 1; }\n" << "duplicate-variable" << 1 << 28 << "error 1" << "";
    QTest::newRow("duplicate parameter") << "extern function f(a, a) {}\n" << "duplicate-parameter" << 1 << 22 << "error 1" << "";
    QTest::newRow("undeclared variable") << "extern function f() {\n  x = 1;\n}\n" << "undeclared-variable" << 2 << 3 << "error 2" << "";
    QTest::newRow("used before its declaration") << "extern function f() {\n  x = 1;\n  var x;\n}\n" << "undeclared-variable" << 2 << 3 << "error 2" << "";
    QTest::newRow("read in its own initialiser") << "extern function f() { var x = x; }\n" << "undeclared-variable" << 1 << 31 << "accepts" << "6.2.1, 6.5.4: declared before use; the initialiser runs before the name exists";
    QTest::newRow("declared in an other function") << "function g() { var y; }\nextern function f() { return y; }\n" << "undeclared-variable" << 2 << 30 << "error 2" << "";
    QTest::newRow("undefined local function") << "extern function f() {\n  g();\n}\n" << "undefined-function" << 2 << 3 << "error 2" << "";
    QTest::newRow("library function without its library") << "extern function f() {\n  alert(\"x\");\n}\n" << "undefined-function" << 2 << 3 << "error 2" << "";
    QTest::newRow("local call, wrong argument count") << "function g(a) {}\nextern function f() {\n  g(1, 2);\n}\n" << "wrong-argument-count" << 3 << 3 << "error 3" << "";
    QTest::newRow("unknown library") << "extern function f() { Math.abs(1); }\n" << "unknown-library" << 1 << 23 << "error 1" << "";
    QTest::newRow("unknown library function") << "extern function f() { String.size(\"a\"); }\n" << "unknown-library-function" << 1 << 30 << "error 1" << "";
    QTest::newRow("library call, wrong argument count") << "extern function f() {\n  String.length(\"a\", 2);\n}\n" << "wrong-argument-count" << 2 << 3 << "error 2" << "";
    QTest::newRow("call through an undeclared url") << "extern function f() { other#g(); }\n" << "undeclared-url" << 1 << 23 << "error 1" << "";
    QTest::newRow("url name declared twice") << "use url a \"x\";\nuse url a \"y\";\nextern function f() {}\n" << "duplicate-url-name" << 2 << 9 << "error 2" << "";
    QTest::newRow("two access pragmas") << "use access domain \"a\";\nuse access path \"/b\";\nextern function f() {}\n" << "duplicate-access-pragma" << 2 << 1 << "accepts" << "6.7.2: more than one access control pragma is an error";
    QTest::newRow("break outside a loop") << "extern function f() {\n  break;\n}\n" << "break-outside-loop" << 2 << 3 << "crash 2" << "6.5.8 (the same error; wmlsc dies after printing it)";
    QTest::newRow("continue outside a loop") << "extern function f() { if (1) continue; }\n" << "continue-outside-loop" << 1 << 30 << "crash 1" << "6.5.9 (the same error; wmlsc dies after printing it)";
    QTest::newRow("break in a loop's nested block") << "extern function f() { while (1) { if (2) { break; } } }\nfunction g() { break; }\n" << "break-outside-loop" << 2 << 16 << "crash 2" << "6.5.8 (the same error; wmlsc dies after printing it)";
    QTest::newRow("future reserved word as a variable") << "extern function f() {\n  var class;\n}\n" << "reserved-word" << 2 << 7 << "error 2" << "";
    QTest::newRow("pragma keyword as a variable") << "extern function f() {\n  var name = 1;\n}\n" << "reserved-word" << 2 << 7 << "error 2" << "";
    QTest::newRow("reserved word as a function") << "extern function delete() {}\n" << "reserved-word" << 1 << 17 << "error 1" << "";
    QTest::newRow("reserved word as a parameter") << "extern function f(a, lib) {}\n" << "reserved-word" << 1 << 22 << "error 1" << "";
    QTest::newRow("reserved word in an expression") << "extern function f() {\n  return 1 + this;\n}\n" << "reserved-word" << 2 << 14 << "error 2" << "";
    QTest::newRow("integer literal too large") << "extern function f() { return 2147483648; }\n" << "literal-out-of-range" << 1 << 30 << "error 1" << "";
    QTest::newRow("hexadecimal literal too large") << "extern function f() {\n  return 0x100000000;\n}\n" << "literal-out-of-range" << 2 << 10 << "error 2" << "";
    QTest::newRow("negative integer literal too large") << "extern function f() { return -2147483649; }\n" << "literal-out-of-range" << 1 << 31 << "error 1" << "";
    QTest::newRow("float literal too large") << "extern function f() { return 3.5e38; }\n" << "literal-out-of-range" << 1 << 30 << "error 1" << "";
    QTest::newRow("no extern function") << "function f() {}\n" << "no-extern-function" << 1 << 10 << "accepts" << "6.4.1: a unit must have at least one extern function";
    QTest::newRow("empty unit") << "" << "no-extern-function" << 1 << 1 << "error 1" << "";
    QTest::newRow("unterminated string") << "extern function f() { return \"abc; }\n" << "syntax-error" << 1 << 30 << "error 1" << "";
    QTest::newRow("unknown escape") << "extern function f() { return \"a\\qb\"; }\n" << "syntax-error" << 1 << 32 << "error 1" << "";
    QTest::newRow("short hexadecimal escape") << "extern function f() { return \"\\x4\"; }\n" << "syntax-error" << 1 << 31 << "error 1" << "";
    QTest::newRow("8 in an octal literal") << "extern function f() { return 08; }\n" << "syntax-error" << 1 << 30 << "error 1" << "";
    QTest::newRow("unterminated comment") << "extern function f() {}\n/* open\n" << "syntax-error" << 2 << 1 << "error 3" << "7.2: the unclosed comment starts on line 2; wmlsc names the line where the file ends";
    QTest::newRow("missing semicolon") << "extern function f() {\n  var a = 1\n  return a;\n}\n" << "syntax-error" << 2 << 12 << "error 2" << "";
    QTest::newRow("function inside a function") << "extern function f() {\n  function g() {}\n}\n" << "syntax-error" << 2 << 3 << "error 2" << "";
    QTest::newRow("literal assigned") << "extern function f() { 5 = 3; }\n" << "syntax-error" << 1 << 25 << "error 1" << "";
    QTest::newRow("increment of a parenthesis") << "extern function f() { var a; (a)++; }\n" << "syntax-error" << 1 << 33 << "error 1" << "";
    QTest::newRow("pragma after a function") << "extern function f() {}\nuse url a \"x\";\n" << "syntax-error" << 2 << 1 << "error 1" << "7.3: CompilationUnit puts the pragmas first; the misplaced one is on line 2";
    QTest::newRow("dollar in a name") << "extern function f() { var $a; }\n" << "syntax-error" << 1 << 27 << "error 1" << "";
    QTest::newRow("unclosed block") << "extern function f() {\n  if (1) {\n}\n" << "syntax-error" << 3 << 2 << "error 3" << "";
    QTest::newRow("too many functions") << scriptsources::functions(256) << "too-many-functions" << 256 << 17 << "accepts" << "9.6, 9.7: at most 255 functions (wmlsc writes a pool the disassembler rejects)";
    QTest::newRow("too many parameters") << scriptsources::parameters(256) << "too-many-parameters" << 1 << 1439 << "accepts" << "9.6.2, 9.7: at most 255 parameters";
    QTest::newRow("too many variables") << scriptsources::locals(256) << "too-many-variables" << 257 << 7 << "accepts" << "9.6.2, 9.7: at most 255 local variables";
    QTest::newRow("too many variables and parameters") << scriptsources::locals(250, 7) << "too-many-variables" << 251 << 7 << "error 251" << "";
    QTest::newRow("function name too long") << "extern function " + QString(256, u'n') + "() {}\n" << "name-too-long" << 1 << 17 << "accepts" << "9.6.1.1, 9.7: a function name has at most 255 bytes (wmlsc writes a name table the disassembler rejects)";
    QTest::newRow("too many constants") << scriptsources::constants(65536) << "too-many-constants" << 65538 << 7 << "not run" << "9.4, 9.7: at most 65535 constants (wmlsc takes minutes on this unit)";
    QTest::newRow("jump too far") << scriptsources::longLoop(33000) << "jump-too-far" << 2 << 3 << "accepts" << "10.5.1: the widest jump crosses 65535 bytes";
    QTest::newRow("parentheses nested too deeply") << "extern function f() {\n  return " + QString(100000, u'(') + "1" + QString(100000, u')') + ";\n}\n" << "syntax-error" << 2 << 10 + 66 << "not run" << "";
    QTest::newRow("blocks nested too deeply") << "extern function f() " + QString(100000, u'{') + QString(100000, u'}') << "syntax-error" << 1 << 21 + 201 << "not run" << "";
    QTest::newRow("operator chain too long") << "extern function f() {\n  return 1" + QString("+1").repeated(100000) + ";\n}\n" << "syntax-error" << 2 << 11 + 2 * 2000 << "not run" << "";
    // Warnings: the unit still compiles.
    QTest::newRow("float literal underflow") << "extern function f() { return 1e-50; }\n" << "float-underflow" << 1 << 30 << "accepts" << "";
    QTest::newRow("comment opened in a comment") << "/* a /* b */\nextern function f() {}\n" << "nested-comment" << 1 << 6 << "accepts" << "";
    // clang-format on
  }

private slots:
  void reportedWhereWritten_data() { cases(); }
  void reportedWhereWritten() {
    QFETCH(QString, source);
    QFETCH(QString, rule);
    QFETCH(int, line);
    QFETCH(int, column);
    const ScriptCompileResult result = compileScript(source);
    QVERIFY(!result.findings.isEmpty());
    const Finding& first = result.findings.first();
    QCOMPARE(first.rule, rule);
    QCOMPARE(first.start.line, line);
    QCOMPARE(first.start.column, column);
    QVERIFY2(first.hasEnd(), "every finding carries where it ends");
    QVERIFY(!first.message.isEmpty());
    // An error leaves nothing to write; a warning keeps the unit.
    QCOMPARE(result.ok(), first.severity != Severity::Error);
    QCOMPARE(result.bytecode.isEmpty(), first.severity == Severity::Error);
  }

  // The reference compiler's answer for the same units, and a reason for
  // every case where ours differs.
  void besideReferenceCompiler_data() { cases(); }
  void besideReferenceCompiler() {
    QFETCH(QString, source);
    QFETCH(int, line);
    QFETCH(QString, reference);
    QFETCH(QString, decidedBy);
    if (reference == QLatin1String("not run"))
      QSKIP("the reference compiler is not run on this unit");
    const ScriptCompileResult ours = compileScript(source);
    const QString ourVerdict =
        ours.ok() ? QStringLiteral("accepts") : QStringLiteral("error %1").arg(line);
    QVERIFY2(ourVerdict == reference || !decidedBy.isEmpty(),
             "a difference from the reference compiler needs the section that decides it");
    const QString wmlsc = oracleProgram(QStringLiteral("wmlsc"));
    if (wmlsc.isEmpty())
      QSKIP("wmlsc is not unpacked (scripts/oracles.sh)");
    const ReferenceAnswer answer = runReferenceCompiler(wmlsc, source.toUtf8());
    QCOMPARE(answer.verdict, reference);
  }
};

QTEST_APPLESS_MAIN(ScriptChecksTest)
#include "tst_scriptchecks.moc"
