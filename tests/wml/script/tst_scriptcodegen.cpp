#include "ReferenceCompiler.h"

#include "wml/script/ScriptCompiler.h"

#include <QTest>

using namespace tessera::wml::script;

// The bytes the compiler writes, worked out by hand from the bytecode
// format and the instruction set: the smallest constant types and the
// character set, the short instruction forms, jumps as short as they can
// be, pragmas, and the order of the pool.
class ScriptCodegenTest : public QObject {
  Q_OBJECT

private slots:
  void wholeUnit_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("hex");
    // clang-format off
    QTest::newRow("smallest constant types, pool in order of use")
        << "extern function f() { return 100 + 1000 + 100000 + 1.5 + \"a\"; }"
        << QByteArray("0127"
                      "056a" "0064" "0103e8" "02000186a0" "033fc00000" "040161"
                      "00"
                      "0101" "000166" "00000a" "5051205220532054203a");
    QTest::newRow("Latin-1 string in ISO-8859-1")
        << QString("extern function f() { return \"\u00e9\"; }")
        << QByteArray("0110" "0104" "0601e9" "00" "0101" "000166" "000002" "503a");
    QTest::newRow("string beyond Latin-1 in UTF-8")
        << QString("extern function f() { return \"\u20ac\"; }")
        << QByteArray("0112" "016a" "0403e282ac" "00" "0101" "000166" "000002" "503a");
    QTest::newRow("pragmas: access and user agent; meta name not kept")
        << "use access domain \"d\" path \"/p\";\nuse meta user agent \"k\" \"v\";\n"
           "use meta name \"n\" \"x\";\nextern function f() {}"
        << QByteArray("011f" "046a" "040164" "04022f70" "04016b" "040176"
                      "03" "0000" "0101" "020203"
                      "0101" "000166" "000000");
    QTest::newRow("external call")
        << "use url u \"http://h/x.wmls\";\nextern function f() { u#g(1); }"
        << QByteArray("0125" "026a" "040f687474703a2f2f682f782e776d6c73" "040167"
                      "00" "0101" "000166" "000006" "150c00010137");
    QTest::newRow("only extern functions are named")
        << "function g() {}\nextern function f() { g(); }"
        << QByteArray("0110" "006a" "00" "0201" "010166" "000000" "000002" "6037");
    // clang-format on
  }
  void wholeUnit() {
    QFETCH(QString, source);
    QFETCH(QByteArray, hex);
    const ScriptCompileResult result = compileScript(source);
    QVERIFY2(result.ok(), result.findings.isEmpty() ? "no bytecode"
                                                    : qPrintable(result.findings.first().message));
    QCOMPARE(result.bytecode.toHex(), hex);
  }

  void functionCode_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("hex");
    // clang-format off
    QTest::newRow("constant instructions")
        << "extern function f(a) { a = 0; a = 1; a = -1; a = \"\"; a = true; a = false; a = invalid; }"
        << QByteArray("1440154016401740194 01a401840").replace(' ', "");
    QTest::newRow("increments as statements and as values")
        << "extern function f(a) { var b; a++; --a; b = a++; }" << QByteArray("701100e07041");
    QTest::newRow("assignments with an operation")
        << "extern function f(a) { a += 2; a -= 3; a *= 4; }" << QByteArray("501d00511e00e0522240");
    QTest::newRow("if and else; the jump to the end returns")
        << "extern function f(a) { if (a) a = 1; else a = 0; }" << QByteArray("e0c315403b1440");
    QTest::newRow("a return only the end follows is dropped")
        << "extern function f(a) { if (a) return; }" << QByteArray("e0c0");
    QTest::newRow("and so is the one that dropping it leaves last")
        << "extern function f(a) { if (a) { if (a) return; return; } }" << QByteArray("e0c2e0c0");
    QTest::newRow("while with break")
        << "extern function f(a) { while (a) { if (a == 1) break; a--; } }"
        << QByteArray("e0c8e0152dc13b1100a9");
    QTest::newRow("logical and keeps its value")
        << "extern function f(a, b) { return a && b; }" << QByteArray("e034c2e1363a");
    QTest::newRow("logical or keeps its value")
        << "extern function f(a, b) { return a || b; }" << QByteArray("e035c2e1363a");
    QTest::newRow("and in a condition jumps twice")
        << "extern function f(a, b) { if (a && b) a = 0; }" << QByteArray("e0c4e1c21440");
    QTest::newRow("library calls, short and long")
        << "extern function f(a) { return String.format(a, Lang.abs(a)); }"
        << QByteArray("e0e068000a0f023a");
    QTest::newRow("unary plus and minus")
        << "extern function f(a) { return -a + +a + -5; }" << QByteArray("e01fe014212050203a");
    QTest::newRow("value of a statement dropped")
        << "extern function f(a) { a; 1 + a; Lang.abs(a); }" << QByteArray("e0680037");
    QTest::newRow("var in a loop is reset each time")
        << "extern function f(a) { while (a) { var b; a = b; } }" << QByteArray("e0c51741e140a6");
    QTest::newRow("wide jumps")
        << "extern function f(a) { while (a) {" + QString("a = a;").repeated(20) + "} }"
        << "e0052a" + QByteArray("e040").repeated(20) + "032b";
    // clang-format on
  }
  void functionCode() {
    QFETCH(QString, source);
    QFETCH(QByteArray, hex);
    const ScriptCompileResult result = compileScript(source);
    QVERIFY2(result.ok(), result.findings.isEmpty() ? "no bytecode"
                                                    : qPrintable(result.findings.first().message));
    const QList<CompiledFunction> functions = walkCompiled(result.bytecode);
    QCOMPARE(functions.size(), 1);
    QCOMPARE(functions.first().code.toHex(), hex);
  }

  // Compiling twice gives the same bytes (the pool order does not follow
  // a hash's order).
  void deterministic() {
    QString source = QStringLiteral("extern function f(a) {\n");
    for (int i = 0; i < 300; ++i)
      source += QStringLiteral("  a = \"s%1\" + %2 + %3.5;\n").arg(i % 37).arg(i * 1000).arg(i);
    source += QStringLiteral("}\n");
    const QByteArray first = compileScript(source).bytecode;
    QVERIFY(!first.isEmpty());
    for (int run = 0; run < 3; ++run)
      QCOMPARE(compileScript(source).bytecode, first);
  }

  void interface_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("externs");
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<QString>("access");
    QTest::addColumn<bool>("parsed");
    QTest::newRow("externs only")
        << "function g(a) {}\nextern function f(a, b) {}\nextern function h() {}"
        << "f/2 h/0" << QStringList{} << "" << true;
    QTest::newRow("pragmas")
        << "use url a \"x\";\nuse url b \"y\";\nuse access path \"/p\";\nextern function f() {}"
        << "f/0" << QStringList{"a", "b"} << "-/p" << true;
    QTest::newRow("what came before a syntax error")
        << "extern function f(a) {}\nextern function g( {}"
        << "f/1" << QStringList{} << "" << false;
  }
  void interface() {
    QFETCH(QString, source);
    QFETCH(QString, externs);
    QFETCH(QStringList, urls);
    QFETCH(QString, access);
    QFETCH(bool, parsed);
    const ScriptInterface found = scriptInterface(source);
    QStringList names;
    for (const ExternFunction& f : found.externs)
      names << QStringLiteral("%1/%2").arg(f.name).arg(f.parameterCount);
    QCOMPARE(names.join(u' '), externs);
    QCOMPARE(found.useUrlNames, urls);
    QCOMPARE(found.access ? found.access->domain.value_or("-") + u'/' +
                                found.access->path.value_or("-").mid(1)
                          : QString(),
             access);
    QCOMPARE(found.parsed, parsed);
  }
};

QTEST_APPLESS_MAIN(ScriptCodegenTest)
#include "tst_scriptcodegen.moc"
