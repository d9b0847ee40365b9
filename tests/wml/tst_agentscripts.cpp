// Decks calling WMLScript in the preview's user agent: the call's arguments,
// the browser context, dialogs as phone screens, navigation after the call,
// the error screen, access pragmas and the instruction budget.
#include "AgentScript.h"
#include "FileBytes.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tessera::wml::agent;

namespace {

// Units beside the deck, by file name.
const char* const kCalc = R"(
extern function total(a, b) {
  WMLBrowser.setVar("sum", a + b);
  WMLBrowser.go("#result");
}
extern function ask() {
  var who = Dialogs.prompt("Your name?", "Ann");
  if (Dialogs.confirm("Greet " + who + "?", "Yes", "No")) {
    WMLBrowser.setVar("who", who);
    WMLBrowser.go("#result");
  } else {
    Dialogs.alert("Not greeted");
  }
}
extern function back() { WMLBrowser.setVar("left", "1"); WMLBrowser.prev(); }
extern function stay() { WMLBrowser.setVar("n", WMLBrowser.getVar("n") + "!"); }
extern function spin() { while (true) { } }
extern function broken() { Lang.abort("out of stock"); }
extern function cancelled() { WMLBrowser.go("#result"); Lang.abort("no"); }
extern function fresh() { WMLBrowser.newContext(); WMLBrowser.setVar("only", "me"); }
)";
const char* const kLocked = R"(
use access domain "example.com";
extern function f() { WMLBrowser.go("#result"); }
)";

QString deck(const QString& href) {
  return wmlDeck(QStringLiteral("<card id=\"start\"><p><a href=\"%1\">run</a> n=$(n)</p></card>"
                                "<card id=\"result\"><p>sum=$(sum) who=$(who)</p></card>")
                     .arg(href.toHtmlEscaped()));
}

} // namespace

class AgentScriptsTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

private slots:
  void initTestCase() {
    writeFileBytes(dir_.filePath("calc.wmls"), kCalc);
    writeFileBytes(dir_.filePath("locked.wmls"), kLocked);
    writeFileBytes(dir_.filePath("bad.wmls"), "extern function f() { return 1 }");
  }

  void calls_data() {
    QTest::addColumn<QString>("href");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("screen");    // the screen's text at the end
    QTest::addColumn<QString>("variables"); // name=value|...
    QTest::addColumn<int>("history");
    const QStringList run{"link 0"};
    auto row = [](const char* name, const char* href, const QStringList& steps, const char* screen,
                  const char* variables, int history) {
      QTest::newRow(name) << QString(href) << steps << QString(screen) << QString(variables)
                          << history;
    };
    row("arguments and go", "calc.wmls#total(2,%203)", run, "\nsum=5 who=\n | ", "sum=5", 2);
    row("variables as arguments", "calc.wmls#total('$(n)x',1)", run, "\nsum=x1 who=\n | ", "sum=x1",
        2);
    row("prompt, confirm, go", "calc.wmls#ask()", {"link 0", "prompt Bob", "confirm ok"},
        "\nsum= who=Bob\n | ", "who=Bob", 2);
    row("confirm cancelled, alert", "calc.wmls#ask()", {"link 0", "prompt", "confirm cancel"},
        "\nNot greeted\nOK | ", "", 1);
    row("alert dismissed: the card again", "calc.wmls#ask()",
        {"link 0", "prompt", "confirm cancel", "alert"}, "\n[run] n=\n | ", "", 1);
    row("no navigation: the card redrawn", "calc.wmls#stay()", run, "\n[run] n=!\n | ", "n=!", 1);
    row("prev", "calc.wmls#back()", {"link 0"}, "\n[run] n=\n | ", "left=1", 1);
    row("new context keeps the card", "calc.wmls#fresh()", run, "\n[run] n=\n | ", "only=me", 1);
    row("abort", "calc.wmls#broken()", run,
        "Script error\ncalc.wmls#broken\nprogrammed abort: out of stock\n | Back", "", 1);
    row("abort cancels a go", "calc.wmls#cancelled()", run,
        "Script error\ncalc.wmls#cancelled\nprogrammed abort: no\n | Back", "", 1);
    row("no such function", "calc.wmls#nothing()", run,
        "Script error\ncalc.wmls#nothing\nexternal function not found: the unit has no extern "
        "function \"nothing\"\n | Back",
        "", 1);
    row("not a call", "calc.wmls#total(1,", run,
        "Script error\ncalc.wmls#total(1,\nnot a call: a call is written name(arguments)\n | Back",
        "", 1);
    row("unit does not compile", "bad.wmls#f()", run,
        "Script error\nbad.wmls#f()\n1:31: expected \";\" after the return value but found "
        "\"}\"\n | Back",
        "", 1);
    row("missing unit", "none.wmls#f()", run,
        "Script error\nnone.wmls#f()\nNo such file or directory\n | Back", "", 1);
    row("access refused", "locked.wmls#f()", run,
        "Script error\nlocked.wmls#f()\naccess violation: the unit's access pragma does not "
        "let http://localhost/deck.wml call it\n | Back",
        "", 1);
    row("outside the folder", "../x.wmls#f()", run,
        "Script error\n../x.wmls#f()\nonly units in the deck's folder can be called\n | Back", "",
        1);
  }
  void calls() {
    QFETCH(QString, href);
    QFETCH(QStringList, steps);
    QFETCH(QString, screen);
    QFETCH(QString, variables);
    QFETCH(int, history);
    ManualClock clock;
    UserAgent agent(clock);
    agent.openDeck(deck(href), dir_.filePath("deck.wml"));
    QCOMPARE(runSteps(agent, clock, steps), QString());
    QCOMPARE(agent.renderedText(), screen);
    QCOMPARE(variablesText(agent), variables);
    QCOMPARE(int(agent.history().size()), history);
  }

  // An endless loop is ended by the instruction budget, slice by slice,
  // and the card's own keys do nothing while it runs.
  void endlessScriptEndsInItsBudget() {
    ManualClock clock;
    UserAgent agent(clock);
    agent.openDeck(deck("calc.wmls#spin()"), dir_.filePath("deck.wml"));
    QVERIFY(agent.followLink(0));
    QVERIFY(agent.scriptRunning());
    QVERIFY(!agent.followLink(0));
    int slices = 1;
    while (agent.scriptRunning() && slices < 1000) {
      agent.continueScript();
      ++slices;
    }
    QVERIFY(!agent.scriptRunning());
    QVERIFY2(slices > 10, "the budget is spent in many slices, not one");
    QVERIFY2(agent.renderedText().startsWith(QLatin1String("Script error\ncalc.wmls#spin\n")),
             qPrintable(agent.renderedText()));
  }
};

QTEST_MAIN(AgentScriptsTest)
#include "tst_agentscripts.moc"
