// Start-up to the first shown main window, each side in a process of its own,
// timed from launching the process to its window being on screen.
#include "Bench.h"
#include "Fixture.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "editor/SourceEditor.h"

#include <QApplication>
#include <QMainWindow>
#include <QTest>

#include <array>
#include <chrono>
#include <cstdio>
#include <limits>

namespace {

using Clock = std::chrono::steady_clock;

// Nanoseconds on the machine's monotonic clock, which parent and child share.
qint64 nsOf(Clock::time_point at) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
}

// What a child reports: when its main() began, its application object was
// made, its window was built and its window was on screen. What it does
// after that, such as exiting, is no part of starting up.
enum Stamp { Entered, AppMade, Built, Shown, StampCount };
using Stamps = std::array<double, StampCount>; // ms after launching the child

void report(Clock::time_point entered, Clock::time_point appMade, Clock::time_point built) {
  std::printf("%lld %lld %lld %lld\n", static_cast<long long>(nsOf(entered)),
              static_cast<long long>(nsOf(appMade)), static_cast<long long>(nsOf(built)),
              static_cast<long long>(nsOf(Clock::now())));
}

// The child's stamps; every one the maximum when the child failed.
Stamps launch(const bench::Context& context, const QString& mode) {
  Stamps stamps;
  stamps.fill(std::numeric_limits<double>::max());
  const qint64 launched = nsOf(Clock::now());
  const QList<QByteArray> printed =
      bench::runChildOutput(context, mode, {}).simplified().split(' ');
  if (printed.size() != StampCount)
    return stamps;
  for (int i = 0; i < StampCount; ++i)
    stamps[i] = double(printed[i].toLongLong() - launched) / 1e6;
  return stamps;
}

QString phases(const Stamps& s) {
  return QStringLiteral("process start %1, application %2, window built %3, shown %4 ms")
      .arg(s[Entered], 0, 'f', 1)
      .arg(s[AppMade] - s[Entered], 0, 'f', 1)
      .arg(s[Built] - s[AppMade], 0, 'f', 1)
      .arg(s[Shown] - s[Built], 0, 'f', 1);
}

} // namespace

BENCH_FIGURE(startup, 80) {
  Stamps ours, reference;
  ours.fill(std::numeric_limits<double>::max());
  reference = ours;
  for (int run = 0; run < 5; ++run) {
    const Stamps bare = launch(context, QStringLiteral("startup-bare"));
    if (bare[Shown] < reference[Shown])
      reference = bare;
    const Stamps app = launch(context, QStringLiteral("startup-app"));
    if (app[Shown] < ours[Shown])
      ours = app;
  }
  context.add({QStringLiteral("start-up to the first shown main window"), QString(), ours[Shown],
               reference[Shown], 1.5});
  std::printf("    ours: %s\n    bare: %s\n", qPrintable(phases(ours)),
              qPrintable(phases(reference)));
}

// The program's own start: the same steps as its main(), up to the moment
// the main window is on screen.
BENCH_CHILD(startupApp, "startup-app") {
  (void)args;
  const Clock::time_point entered = Clock::now();
  QApplication app(argc, argv);
  const Clock::time_point appMade = Clock::now();
  tessera::prepareApplication();
  bench::AppWindow window(bench::AppWindow::Settle::No);
  report(entered, appMade, window.builtAt());
  return 0;
}

// The bare window is as large as ours and its editor has our editor's font,
// as every other reference editor of the bench: filling the same pixels and
// loading the same font are no part of what the program adds.
BENCH_CHILD(startupBare, "startup-bare") {
  (void)args;
  const Clock::time_point entered = Clock::now();
  QApplication app(argc, argv);
  const Clock::time_point appMade = Clock::now();
  QMainWindow window;
  auto* editor = new QPlainTextEdit;
  editor->setFont(tessera::SourceEditor::defaultFont());
  window.setCentralWidget(editor);
  window.resize(tessera::MainWindow::kStartSize);
  const Clock::time_point built = Clock::now();
  window.show();
  if (!QTest::qWaitForWindowExposed(&window))
    return 1;
  report(entered, appMade, built);
  return 0;
}
