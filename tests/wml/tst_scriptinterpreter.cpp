#include "BytecodeBuilder.h"
#include "wml/script/BytecodeVerifier.h"
#include "wml/script/Interpreter.h"

#include <QtTest>

using namespace tessera::wml::script;
using bytecode::code;

namespace {

class TestHost : public ScriptHost {
public:
  QMap<QString, QString> vars;
  QMap<QString, QByteArray> units; // url -> bytecode

  QString variable(const QString& name) const override { return vars.value(name); }
  void setVariable(const QString& name, const QString& value) override { vars[name] = value; }
  void newContext() override { vars.clear(); }
  std::optional<QUrl> currentCard() const override { return std::nullopt; }
  LoadedUnit loadUnit(const QUrl& url) override {
    if (!units.contains(url.toString()))
      return {nullptr, QStringLiteral("no such unit")};
    VerifyResult verified = loadBytecode(units.value(url.toString()));
    return {verified.unit, verified.error};
  }
  LoadedText loadText(const QUrl&, const QString&) override { return {std::nullopt, 404}; }
};

std::shared_ptr<const VerifiedUnit> verified(const QByteArray& bytes) {
  VerifyResult result = loadBytecode(bytes);
  if (!result.unit)
    qWarning() << "does not verify:" << result.error;
  return result.unit;
}

const QUrl unitUrl(QStringLiteral("http://www.example.com/app/main.wmls"));

// "integer 45" when the run finished, "fatal N" when it failed.
QString outcome(const Interpreter& machine) {
  if (machine.state() == Interpreter::State::Finished)
    return describeValue(machine.result());
  if (machine.state() == Interpreter::State::Failed)
    return QStringLiteral("fatal %1").arg(int(machine.error()));
  return QStringLiteral("state %1").arg(int(machine.state()));
}

QString run(const QByteArray& unit, const QList<Value>& args, RunLimits limits = {},
            TestHost* host = nullptr) {
  TestHost own;
  Interpreter machine(host ? *host : own, limits);
  machine.start(verified(unit), unitUrl, QStringLiteral("main"), args);
  machine.run();
  return outcome(machine);
}

} // namespace

// Programs written instruction by instruction, run by the machine: control
// flow, calls, the short-circuit instructions, the fatal errors and the
// limits, pausing for dialogs, navigation.
class ScriptInterpreterTest : public QObject {
  Q_OBJECT
private slots:
  void runsPrograms_data() {
    QTest::addColumn<QByteArray>("unit");
    QTest::addColumn<QList<Value>>("args");
    QTest::addColumn<QString>("result");
    using namespace bytecode;
    // sum(n): i = 0; s = 0; while (i < n) { s += i; i++; } return s;
    const QByteArray sum =
        unit({}, {{"main", 1, 2, code("14 41 14 42 e1 e0 2f c5 e1 1d 02 71 a8 e2 3a")}});
    QTest::newRow("loop") << sum << QList<Value>{Value::integer(10)} << "integer 45";
    QTest::newRow("loop no turns") << sum << QList<Value>{Value::integer(0)} << "integer 0";
    // A string bound compares as text: "0" < "4" ... "4" < "4" is false.
    QTest::newRow("loop string bound") << sum << QList<Value>{Value::string("4")} << "integer 6";
    QTest::newRow("local call") << unit({int8(41)}, {{"main", 0, 0, code("15 50 61 3a")},
                                                     {"", 2, 0, code("e0 e1 20 3a")}})
                                << QList<Value>{} << "integer 42";
    QTest::newRow("wide local call")
        << unit({}, {{"main", 0, 0, code("09 01 3a")}, {"", 0, 0, code("16 3a")}}) << QList<Value>{}
        << "integer -1";
    QTest::newRow("library call") << unit({utf8("abc")}, {{"main", 0, 0, code("50 68 02 3a")}})
                                  << QList<Value>{} << "integer 3";
    QTest::newRow("wide library call")
        << unit({utf8("abc")}, {{"main", 0, 0, code("50 0b 01 00 02 3a")}}) << QList<Value>{}
        << "boolean false";
    QTest::newRow("locals start empty")
        << unit({}, {{"main", 0, 1, code("e0 3a")}}) << QList<Value>{} << "string \"\"";
    QTest::newRow("end of code returns empty string")
        << unit({}, {{"main", 0, 0, code("15 37")}}) << QList<Value>{} << "string \"\"";
    QTest::newRow("return from a call keeps the caller's stack")
        << unit({int8(5)}, {{"main", 0, 0, code("50 61 20 3a")}, {"", 0, 0, code("3b")}})
        << QList<Value>{} << "string \"5\"";
    QTest::newRow("typeof and isvalid")
        << unit({}, {{"main", 0, 0, code("18 39 38 3a")}}) << QList<Value>{} << "integer 3";
    QTest::newRow("decrement and increment a variable")
        << unit({}, {{"main", 1, 0, code("11 00 11 00 70 e0 3a")}})
        << QList<Value>{Value::floating(2.5)} << "float 1.5";
    QTest::newRow("subtract-assign") << unit({}, {{"main", 1, 0, code("15 1e 00 e0 3a")}})
                                     << QList<Value>{Value::string("7")} << "integer 6";
    QTest::newRow("float constant") << unit({float32(0.25f)}, {{"main", 0, 0, code("50 50 22 3a")}})
                                    << QList<Value>{} << "float 0.0625";
    QTest::newRow("infinite float constant is invalid")
        << unit({float32(std::numeric_limits<float>::infinity())}, {{"main", 0, 0, code("50 3a")}})
        << QList<Value>{} << "invalid";
    QTest::newRow("exit from a nested call")
        << unit({int8(7)},
                {{"main", 0, 0, code("61 14 3a")}, {"", 0, 0, code("50 0a 0a 00 15 3a")}})
        << QList<Value>{} << "integer 7";
    QTest::newRow("abort") << unit({utf8("bad")}, {{"main", 0, 0, code("50 0a 0b 00 3a")}})
                           << QList<Value>{} << "fatal 8";
    QTest::newRow("stack underflow")
        << unit({}, {{"main", 0, 0, code("37 3b")}}) << QList<Value>{} << "fatal 7";
    QTest::newRow("underflow into the caller's operands")
        << unit({}, {{"main", 0, 0, code("15 15 61 3a")}, {"", 0, 0, code("20 3a")}})
        << QList<Value>{} << "fatal 7";
    QTest::newRow("recursion") << unit({}, {{"main", 0, 0, code("60 3a")}}) << QList<Value>{}
                               << "fatal 9";
    QTest::newRow("operand stack")
        << unit({}, {{"main", 0, 0, code("15 a1")}}) << QList<Value>{} << "fatal 9";
    QTest::newRow("endless loop") << unit({}, {{"main", 0, 0, code("a0")}}) << QList<Value>{}
                                  << "fatal 12";
    // s = "x"; for (;;) s += s;
    QTest::newRow("string doubling")
        << unit({utf8("x")}, {{"main", 0, 1, code("50 40 e0 1d 00 a3")}}) << QList<Value>{}
        << "fatal 10";
  }
  void runsPrograms() {
    QFETCH(QByteArray, unit);
    QFETCH(QList<Value>, args);
    QFETCH(QString, result);
    RunLimits limits;
    limits.instructionBudget = 100000;
    QCOMPARE(run(unit, args, limits), result);
  }

  // a && b and a || b as a compiler writes them: SCAND/SCOR, a conditional
  // jump over the right operand, TOBOOL.
  void shortCircuit_data() {
    QTest::addColumn<bool>("isAnd");
    QTest::addColumn<Value>("a");
    QTest::addColumn<Value>("b");
    QTest::addColumn<QString>("result");
    const Value t = Value::boolean(true);
    const Value f = Value::boolean(false);
    const Value bad = Value::invalid();
    QTest::newRow("true && false") << true << t << f << "boolean false";
    QTest::newRow("true && 3") << true << t << Value::integer(3) << "boolean true";
    QTest::newRow("false && invalid") << true << f << bad << "boolean false";
    QTest::newRow("invalid && true") << true << bad << t << "invalid";
    QTest::newRow("1 && \"\"") << true << Value::integer(1) << Value::string("") << "boolean false";
    QTest::newRow("3 && invalid") << true << Value::integer(3) << bad << "invalid";
    QTest::newRow("true || invalid") << false << t << bad << "boolean true";
    QTest::newRow("false || invalid") << false << f << bad << "invalid";
    QTest::newRow("invalid || true") << false << bad << t << "invalid";
    QTest::newRow("\"A\" || \"\"")
        << false << Value::string("A") << Value::string("") << "boolean true";
    QTest::newRow("0 || 0.5") << false << Value::integer(0) << Value::floating(0.5)
                              << "boolean true";
  }
  void shortCircuit() {
    QFETCH(bool, isAnd);
    QFETCH(Value, a);
    QFETCH(Value, b);
    QFETCH(QString, result);
    const QByteArray program = bytecode::unit(
        {}, {{"main", 2, 0, code(isAnd ? "e0 34 c2 e1 36 3a" : "e0 35 c2 e1 36 3a")}});
    QCOMPARE(run(program, {a, b}), result);
  }

  // Calls into another unit: found, loaded, access checked, arguments
  // counted.
  void externalCalls_data() {
    QTest::addColumn<QByteArray>("callee");
    QTest::addColumn<QString>("calleeUrl");
    QTest::addColumn<QString>("result");
    using namespace bytecode;
    const QByteArray twice = unit({}, {{"g", 1, 0, code("e0 e0 20 3a")}});
    QTest::newRow("relative url") << twice << "http://www.example.com/app/lib.wmls"
                                  << "integer 42";
    QTest::newRow("not found") << twice << "http://www.example.com/other/lib.wmls"
                               << "fatal 5";
    QTest::newRow("no such function")
        << unit({}, {{"h", 1, 0, code("e0 3a")}}) << "http://www.example.com/app/lib.wmls"
        << "fatal 4";
    QTest::newRow("argument count")
        << unit({}, {{"g", 2, 0, code("e0 3a")}}) << "http://www.example.com/app/lib.wmls"
        << "fatal 3";
    QTest::newRow("access allowed")
        << unit({utf8("example.com"), utf8("/app")}, {{"g", 1, 0, code("e0 3a")}},
                {accessDomain(0), accessPath(1)})
        << "http://www.example.com/app/lib.wmls"
        << "integer 21";
    QTest::newRow("access denied by domain")
        << unit({utf8("other.com")}, {{"g", 1, 0, code("e0 3a")}}, {accessDomain(0)})
        << "http://www.example.com/app/lib.wmls"
        << "fatal 6";
    QTest::newRow("access denied by path")
        << unit({utf8("/private")}, {{"g", 1, 0, code("e0 3a")}}, {accessPath(0)})
        << "http://www.example.com/app/lib.wmls"
        << "fatal 6";
  }
  void externalCalls() {
    QFETCH(QByteArray, callee);
    QFETCH(QString, calleeUrl);
    QFETCH(QString, result);
    using namespace bytecode;
    TestHost host;
    host.units.insert(calleeUrl, callee);
    const QByteArray caller =
        unit({utf8("lib.wmls"), utf8("g"), int8(21)}, {{"main", 0, 0, code("52 0c 00 01 01 3a")}});
    QCOMPARE(run(caller, {}, {}, &host), result);
  }

  void startErrors() {
    TestHost host;
    Interpreter machine(host);
    const auto unit =
        verified(bytecode::unit({}, {{"main", 1, 0, code("e0 3a")}, {"", 0, 0, code("3b")}}));
    QVERIFY(!machine.start(unit, unitUrl, QStringLiteral("other"), {Value::integer(1)}));
    QCOMPARE(machine.error(), FatalError::ExternalFunctionNotFound);
    QVERIFY(!machine.start(unit, unitUrl, QStringLiteral("main"), {}));
    QCOMPARE(machine.error(), FatalError::InvalidFunctionArguments);
    QVERIFY(machine.start(unit, unitUrl, QStringLiteral("main"), {Value::integer(1)}));
    QCOMPARE(machine.run(), Interpreter::State::Finished);
  }

  // A dialog pauses the run; the answer is the function's value and the
  // run goes on from there.
  void pausesForDialogs() {
    using namespace bytecode;
    // r = prompt("Name?", "Bob"); if (confirm(r, "", "")) alert("yes"); return r;
    const QByteArray program =
        unit({utf8("Name?"), utf8("Bob"), utf8("yes")},
             {{"main", 0, 1, code("50 51 68 05 40 e0 17 17 69 05 c4 52 6a 05 37 e0 3a")}});
    TestHost host;
    Interpreter machine(host);
    QVERIFY(machine.start(verified(program), unitUrl, QStringLiteral("main"), {}));
    QCOMPARE(machine.run(), Interpreter::State::WaitingForDialog);
    QCOMPARE(int(machine.dialog().kind), int(DialogRequest::Kind::Prompt));
    QCOMPARE(machine.dialog().message, QStringLiteral("Name?"));
    QCOMPARE(machine.dialog().defaultInput, QStringLiteral("Bob"));
    machine.answerConfirm(true); // the wrong answer for a prompt is ignored
    QCOMPARE(machine.state(), Interpreter::State::WaitingForDialog);
    machine.answerPrompt(QStringLiteral("Ann"));
    QCOMPARE(machine.run(), Interpreter::State::WaitingForDialog);
    QCOMPARE(int(machine.dialog().kind), int(DialogRequest::Kind::Confirm));
    QCOMPARE(machine.dialog().message, QStringLiteral("Ann"));
    machine.answerConfirm(true);
    QCOMPARE(machine.run(), Interpreter::State::WaitingForDialog);
    QCOMPARE(int(machine.dialog().kind), int(DialogRequest::Kind::Alert));
    machine.dismissAlert();
    QCOMPARE(machine.run(), Interpreter::State::Finished);
    QCOMPARE(describeValue(machine.result()), QStringLiteral("string \"Ann\""));
  }

  // Runs in slices: each slice runs at most its count of instructions.
  void runsInSlices() {
    TestHost host;
    RunLimits limits;
    limits.instructionBudget = 1000;
    Interpreter machine(host, limits);
    QVERIFY(machine.start(verified(bytecode::unit({}, {{"main", 0, 0, code("a0")}})), unitUrl,
                          QStringLiteral("main"), {}));
    QCOMPARE(machine.run(300), Interpreter::State::Running);
    QCOMPARE(machine.instructionsRun(), 300);
    QCOMPARE(machine.run(300), Interpreter::State::Running);
    QCOMPARE(machine.run(), Interpreter::State::Failed);
    QCOMPARE(machine.error(), FatalError::SystemInitiated);
    QCOMPARE(machine.instructionsRun(), 1000);
  }

  // The last go or prev wins; go("") cancels; a fatal error cancels; after
  // newContext a prev does nothing.
  void navigation_data() {
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QString>("navigation");
    // Constants: 0 "a.wml", 1 "", 2 "stop".
    QTest::newRow("go") << code("50 6a 04 3b") << "go a.wml";
    QTest::newRow("go then prev") << code("50 6a 04 37 6b 04 3b") << "prev";
    QTest::newRow("prev then go") << code("6b 04 37 50 6a 04 3b") << "go a.wml";
    QTest::newRow("go then empty go") << code("50 6a 04 37 51 6a 04 3b") << "none";
    QTest::newRow("go then abort") << code("50 6a 04 37 52 0a 0b 00 3b") << "none";
    QTest::newRow("prev then newContext") << code("6b 04 37 6c 04 3b") << "none";
    QTest::newRow("newContext then go") << code("6c 04 37 50 6a 04 3b") << "go a.wml";
  }
  void navigation() {
    QFETCH(QByteArray, code);
    QFETCH(QString, navigation);
    using namespace bytecode;
    TestHost host;
    Interpreter machine(host);
    QVERIFY(machine.start(
        verified(unit({utf8("a.wml"), emptyString(), utf8("stop")}, {{"main", 0, 0, code}})),
        unitUrl, QStringLiteral("main"), {}));
    machine.run();
    const PendingNavigation pending = machine.navigation();
    QString text = QStringLiteral("none");
    if (pending.kind == PendingNavigation::Kind::Go)
      text = QStringLiteral("go ") + pending.url;
    else if (pending.kind == PendingNavigation::Kind::Prev)
      text = QStringLiteral("prev");
    QCOMPARE(text, navigation);
  }

  // Access control as the language's example gives it, plus whole-label
  // and whole-segment matching.
  void accessControl_data() {
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("referer");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("money") << "wapforum.org"
                           << "/finance"
                           << "http://wapforum.org/finance/money.cgi" << true;
    QTest::newRow("markets") << "wapforum.org"
                             << "/finance"
                             << "https://www.wapforum.org/finance/markets.cgi" << true;
    QTest::newRow("packages") << "wapforum.org"
                              << "/finance"
                              << "http://www.wapforum.org/finance/demos/packages.cgi?x=123&y=456"
                              << true;
    QTest::newRow("other domain") << "wapforum.org"
                                  << "/finance"
                                  << "http://www.test.net/finance" << false;
    QTest::newRow("other path") << "wapforum.org"
                                << "/finance"
                                << "http://www.wapforum.org/internal/foo.wml" << false;
    QTest::newRow("partial label") << "forum.org"
                                   << ""
                                   << "http://www.wapforum.org/x" << false;
    QTest::newRow("partial segment") << ""
                                     << "/X"
                                     << "http://www.example.com/XZ" << false;
    QTest::newRow("whole segment") << ""
                                   << "/X"
                                   << "http://www.example.com/X/Y" << true;
    QTest::newRow("domain defaults to the unit's") << ""
                                                   << "/app"
                                                   << "http://other.com/app/d.wml" << false;
    QTest::newRow("relative path") << ""
                                   << "sub"
                                   << "http://www.example.com/app/sub/d.wml" << true;
  }
  void accessControl() {
    QFETCH(QString, domain);
    QFETCH(QString, path);
    QFETCH(QString, referer);
    QFETCH(bool, allowed);
    using namespace bytecode;
    QList<QByteArray> constants;
    QList<QByteArray> pragmas;
    if (!domain.isEmpty()) {
      constants << utf8(domain);
      pragmas << accessDomain(0);
    }
    if (!path.isEmpty()) {
      constants << utf8(path);
      pragmas << accessPath(int(constants.size()) - 1);
    }
    const auto unit = verified(bytecode::unit(constants, {{"f", 0, 0, code("3b")}}, pragmas));
    QVERIFY(unit);
    QCOMPARE(accessAllowed(*unit, unitUrl, QUrl(referer)), allowed);
  }
};

QTEST_APPLESS_MAIN(ScriptInterpreterTest)
#include "tst_scriptinterpreter.moc"
