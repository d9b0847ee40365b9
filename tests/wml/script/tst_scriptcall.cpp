#include "FileBytes.h"

#include "deck/CompiledDeckReader.h"
#include "wml/check/DeckChecker.h"
#include "wml/script/ScriptCall.h"
#include "wml/script/ScriptCompiler.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tessera::wml;
using namespace tessera::wml::script;

// Decks calling scripts: the call syntax of a URL's fragment, and the
// deck checker's findings for calls of units beside the deck.
class ScriptCallTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

private slots:
  void syntax_data() {
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QString>("function");
    QTest::addColumn<int>("arguments"); // -1: not a call
    QTest::newRow("no arguments") << "refresh()"
                                  << "refresh" << 0;
    QTest::newRow("literals") << "foo(1,-3,'hello')"
                              << "foo" << 3;
    QTest::newRow("spaces, floats, words") << "f( +2.5e-3 , .5 , \"a,b\", true,false , invalid )"
                                           << "f" << 6;
    QTest::newRow("variables") << "total($(n), '$name', -$(x:n))"
                               << "total" << 3;
    QTest::newRow("an expression") << "bar(1,-3+1,'good')"
                                   << "bar" << -1;
    QTest::newRow("a nested call") << "test(foo(1,-3,'hello'))"
                                   << "test" << -1;
    QTest::newRow("a bare word") << "f(hello)"
                                 << "f" << -1;
    QTest::newRow("no parenthesis") << "f"
                                    << "f" << -1;
    QTest::newRow("unclosed") << "f(1"
                              << "f" << -1;
    QTest::newRow("unclosed string") << "f('a)"
                                     << "f" << -1;
    QTest::newRow("empty argument") << "f(1,)"
                                    << "f" << -1;
    QTest::newRow("text after") << "f()x"
                                << "f" << -1;
    QTest::newRow("starts with a digit") << "1f()"
                                         << "" << -1;
  }
  void syntax() {
    QFETCH(QString, fragment);
    QFETCH(QString, function);
    QFETCH(int, arguments);
    const ScriptCall call = parseScriptCall(fragment);
    QCOMPARE(call.error.isEmpty(), arguments >= 0);
    if (arguments < 0)
      return;
    QCOMPARE(call.function, function);
    QCOMPARE(call.argumentCount, arguments);
  }

  void deckCalls_data() {
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("rule"); // "" for no finding
    QTest::addColumn<int>("severity");
    QTest::newRow("fits") << "calc.wmls#total($(n),'x')"
                          << "" << 0;
    QTest::newRow("escaped") << "calc.wmls#total(%27a%20b%27,1)"
                             << "" << 0;
    QTest::newRow("no such unit") << "gone.wmls#total(1,2)"
                                  << "missing-file" << int(Severity::Warning);
    QTest::newRow("no function named") << "calc.wmls"
                                       << "bad-script-call" << int(Severity::Error);
    QTest::newRow("not a call") << "calc.wmls#total(1+1,2)"
                                << "bad-script-call" << int(Severity::Error);
    QTest::newRow("not extern") << "calc.wmls#helper(1)"
                                << "unknown-script-function" << int(Severity::Error);
    QTest::newRow("no such function") << "calc.wmls#sum(1,2)"
                                      << "unknown-script-function" << int(Severity::Error);
    QTest::newRow("too few arguments") << "calc.wmls#total(1)"
                                       << "wrong-argument-count" << int(Severity::Error);
    QTest::newRow("unit does not compile") << "broken.wmls#f()"
                                           << "script-does-not-compile" << int(Severity::Error);
    // A compiled unit, read in a child process.
    QTest::newRow("compiled fits") << "calc.wmlsc#total(1,2)"
                                   << "" << 0;
    QTest::newRow("compiled, too few arguments") << "calc.wmlsc#total(1)"
                                                 << "wrong-argument-count" << int(Severity::Error);
    QTest::newRow("compiled, not bytecode") << "fake.wmlsc#f()"
                                            << "script-does-not-compile" << int(Severity::Error);
  }
  void deckCalls() {
    QFETCH(QString, href);
    QFETCH(QString, rule);
    QFETCH(int, severity);
    writeFileBytes(dir_.filePath("calc.wmls"),
                   "function helper(a) { return a; }\n"
                   "extern function total(a, b) { return helper(a) + b; }\n");
    writeFileBytes(dir_.filePath("broken.wmls"), "extern function f() { return x; }\n");
    writeFileBytes(dir_.filePath("calc.wmlsc"),
                   compileScript("extern function total(a, b) { return a + b; }").bytecode);
    writeFileBytes(dir_.filePath("fake.wmlsc"), QByteArray("\x01\x03\x00\x7f\x7f", 5));
    setCompiledUnitReader(tessera::readCompiledUnit);
    const QString deck = QStringLiteral("<?xml version=\"1.0\"?>\n"
                                        "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                                        "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
                                        "<wml><card id=\"a\"><p>\n"
                                        "<a href=\"%1\">Go</a>\n"
                                        "</p></card></wml>\n")
                             .arg(href);
    const QList<Finding> findings = check::checkDeck(deck, {dir_.filePath("deck.wml")});
    QStringList found;
    for (const Finding& f : findings)
      found << QStringLiteral("%1:%2 %3").arg(f.start.line).arg(int(f.severity)).arg(f.rule);
    QCOMPARE(found.join(u' '),
             rule.isEmpty() ? QString() : QStringLiteral("4:%1 %2").arg(severity).arg(rule));
  }
};

QTEST_GUILESS_MAIN(ScriptCallTest)
#include "tst_scriptcall.moc"
