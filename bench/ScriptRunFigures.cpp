// WMLScript run time: a million-turn loop (integer arithmetic, a
// comparison, a local call) as nanoseconds per instruction, a
// string-building loop, and how long the instruction budget takes to end a
// loop that never ends. Each against the same work done by C++ on
// QVariant, the toolkit's own dynamic values. Reported only: the bound is
// out of reach until the figures have a history.
#include "Bench.h"

#include "wml/script/BytecodeVerifier.h"
#include "wml/script/Interpreter.h"

#include <QVariant>

using namespace tessera::wml::script;

namespace {

constexpr double kReportOnly = 1e9;

class BenchHost : public ScriptHost {
public:
  QString variable(const QString&) const override { return {}; }
  void setVariable(const QString&, const QString&) override {}
  void newContext() override {}
  std::optional<QUrl> currentCard() const override { return std::nullopt; }
  LoadedUnit loadUnit(const QUrl&) override { return {nullptr, QStringLiteral("offline")}; }
  LoadedText loadText(const QUrl&, const QString&) override { return {std::nullopt, 404}; }
};

QByteArray mb(quint32 v) {
  QByteArray out;
  appendMultiByte(out, v);
  return out;
}

// One unit: the constants as stored, one extern function "main" (no
// arguments) and an optional local helper taking two.
QByteArray unit(const QByteArray& constants, int constantCount, int locals, const char* mainHex,
                const char* helperHex = nullptr) {
  const QByteArray main = QByteArray::fromHex(mainHex);
  QByteArray body = mb(quint32(constantCount)) + mb(106) + constants + mb(0);
  body += char(helperHex ? 2 : 1);
  body += QByteArray::fromHex("01") + char(0) + char(4) + "main";
  body += char(0);
  body += char(locals);
  body += mb(quint32(main.size())) + main;
  if (helperHex) {
    const QByteArray helper = QByteArray::fromHex(helperHex);
    body += char(2);
    body += char(0);
    body += mb(quint32(helper.size())) + helper;
  }
  return QByteArray(1, char(1)) + mb(quint32(body.size())) + body;
}

QByteArray int32Constant(qint32 v) {
  QByteArray out(1, char(2));
  for (int shift = 24; shift >= 0; shift -= 8)
    out += char((quint32(v) >> shift) & 0xFF);
  return out;
}

struct Run {
  double ms = 0;
  qint64 instructions = 0;
  Interpreter::State state = Interpreter::State::Ready;
};

Run runMain(const QByteArray& bytes, qint64 budget) {
  const VerifyResult verified = loadBytecode(bytes);
  if (!verified.unit)
    qFatal("bench unit does not verify: %s", qPrintable(verified.error));
  BenchHost host;
  RunLimits limits;
  limits.instructionBudget = budget;
  Interpreter machine(host, limits);
  Run run;
  run.ms = bench::timeMs([&] {
    machine.start(verified.unit, QUrl(QStringLiteral("http://localhost/b.wmls")),
                  QStringLiteral("main"), {});
    run.state = machine.run();
  });
  run.instructions = machine.instructionsRun();
  return run;
}

template <typename Work> double bestMs(int runs, Work work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i)
    best = qMin(best, bench::timeMs(work));
  return best;
}

// The loop's helper through a pointer, as the script's CALL is not inlined.
QVariant __attribute__((noinline)) helper(const QVariant& a, const QVariant& b) {
  return QVariant((a.toInt() + b.toInt()) & 65535);
}

} // namespace

BENCH_FIGURE(scriptLoop, 90) {
  // i = 0; s = 0; while (i < 1000000) { s = f(s, i); i++; } return s;
  // f(a, b) { return (a + b) & 65535; }
  const QByteArray bytes =
      unit(int32Constant(1000000) + int32Constant(65535), 2, 2,
           "14 40 14 41 e0 50 2f c6 e1 e0 61 41 70 a9 e1 3a", "e0 e1 20 51 26 3a");
  Run best;
  best.ms = 1e300;
  for (int i = 0; i < 3; ++i) {
    const Run run = runMain(bytes, 100'000'000);
    if (run.state != Interpreter::State::Finished)
      qFatal("the script loop did not finish");
    if (run.ms < best.ms)
      best = run;
  }
  QVariant (*volatile call)(const QVariant&, const QVariant&) = helper;
  const double referenceMs = bestMs(3, [&] {
    QVariant i = 0;
    QVariant s = 0;
    while (i.toInt() < 1000000) {
      s = call(s, i);
      i = i.toInt() + 1;
    }
  });
  const double nsPerInstruction = best.ms * 1e6 / double(best.instructions);
  context.add({QStringLiteral("script loop 1M turns vs QVariant loop"),
               QStringLiteral("%1 ns/i").arg(nsPerInstruction, 0, 'f', 1), best.ms, referenceMs,
               kReportOnly});
}

BENCH_FIGURE(scriptStrings, 91) {
  // s = ""; for (i = 0; i < 100000; i++) s += "ab"; return s;
  QByteArray constants = int32Constant(100000);
  constants += QByteArray::fromHex("0402") + "ab";
  const QByteArray bytes = unit(constants, 2, 2, "17 41 14 40 e0 50 2f c5 51 1d 01 70 a8 e1 3a");
  double oursMs = 1e300;
  for (int i = 0; i < 3; ++i) {
    const Run run = runMain(bytes, 100'000'000);
    if (run.state != Interpreter::State::Finished)
      qFatal("the string loop did not finish");
    oursMs = qMin(oursMs, run.ms);
  }
  const double referenceMs = bestMs(3, [] {
    QVariant s = QString();
    for (QVariant i = 0; i.toInt() < 100000; i = i.toInt() + 1)
      s = s.toString() + QStringLiteral("ab");
  });
  context.add({QStringLiteral("script builds 200 K characters vs QVariant"), QString(), oursMs,
               referenceMs, kReportOnly});
}

BENCH_FIGURE(scriptBudget, 92) {
  // for (;;); ended by the default budget of ten million instructions.
  const QByteArray bytes = unit({}, 0, 0, "a0");
  const Run run = runMain(bytes, RunLimits().instructionBudget);
  if (run.state != Interpreter::State::Failed)
    qFatal("the endless loop was not ended");
  const double referenceMs = bestMs(1, [] {
    QVariant i = 0;
    while (i.toInt() < RunLimits().instructionBudget)
      i = i.toInt() + 1;
  });
  context.add({QStringLiteral("budget ends an endless loop vs QVariant count"),
               QStringLiteral("10 M"), run.ms, referenceMs, kReportOnly});
}
