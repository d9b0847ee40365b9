#include "wml/script/ScriptColouring.h"

#include <QTest>

using namespace tessera::wml::script;

// A line's coloured stretches written as "kind start length" joined by
// "|": k keyword, s string, n number, c comment, l library, f function.
static QString describe(const QList<ScriptSpan>& spans) {
  QStringList parts;
  for (const ScriptSpan& span : spans) {
    const char kinds[] = "ksncl f";
    const char kind = span.kind == ScriptKind::Function ? 'f' : kinds[int(span.kind)];
    parts << QStringLiteral("%1 %2 %3").arg(QLatin1Char(kind)).arg(span.start).arg(span.length);
  }
  return parts.join(u'|');
}

class ScriptColouringTest : public QObject {
  Q_OBJECT

private slots:
  void lines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("stateIn");
    QTest::addColumn<QString>("spans");
    QTest::addColumn<int>("stateOut");
    QTest::newRow("declaration") << "extern function f(a) {" << 0 << "k 0 6|k 7 8|f 16 1" << 0;
    QTest::newRow("library call") << "  x = String.length(\"ab\");" << 0 << "l 6 6|l 13 6|s 20 4"
                                  << 0;
    QTest::newRow("local call with a space")
        << "total (1.5e-3, 0x1F)" << 0 << "f 0 5|n 7 6|n 15 4" << 0;
    QTest::newRow("escaped quote stays in the string")
        << "'it\\'s' + 1" << 0 << "s 0 7|n 10 1" << 0;
    QTest::newRow("unclosed string ends at the line's end")
        << "var s = \"open" << 0 << "k 0 3|s 8 5" << 0;
    QTest::newRow("line comment") << "a = 2; // var" << 0 << "n 4 1|c 7 6" << 0;
    QTest::newRow("block comment opens") << "if /* until" << 0 << "k 0 2|c 3 8" << 1;
    QTest::newRow("block comment goes on") << "still inside" << 1 << "c 0 12" << 1;
    QTest::newRow("block comment closes")
        << "end */ return true;" << 1 << "c 0 6|k 7 6|k 14 4" << 0;
    QTest::newRow("a name that is no library") << "point.x(1)" << 0 << "f 6 1|n 8 1" << 0;
    QTest::newRow("reserved words")
        << "while (isvalid x) div= invalid" << 0 << "k 0 5|k 7 7|k 18 3|k 23 7" << 0;
  }
  void lines() {
    QFETCH(QString, line);
    QFETCH(int, stateIn);
    QFETCH(QString, spans);
    QFETCH(int, stateOut);
    QList<ScriptSpan> found;
    const ScriptLineState out = scanScriptLine(line, ScriptLineState(stateIn), &found);
    QCOMPARE(describe(found), spans);
    QCOMPARE(int(out), stateOut);
    // The state alone, without the stretches, is the same.
    QCOMPARE(int(scanScriptLine(line, ScriptLineState(stateIn), nullptr)), stateOut);
  }
};

QTEST_APPLESS_MAIN(ScriptColouringTest)
#include "tst_scriptcolouring.moc"
