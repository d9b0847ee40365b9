#include "deck/LimitedChild.h"

#include <QElapsedTimer>
#include <QProcess>

#include <sys/resource.h>

namespace tessera {
namespace {

// AddressSanitizer reserves far more address space than any limit a real
// build would set; instrumented builds run the child without one.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kLimitAddressSpace = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kLimitAddressSpace = false;
#else
constexpr bool kLimitAddressSpace = true;
#endif
#else
constexpr bool kLimitAddressSpace = true;
#endif

} // namespace

ChildRun runLimitedChild(const QString& program, const QStringList& arguments, int timeLimitMs,
                         long memoryLimitBytes) {
  ChildRun run;
  QProcess child;
  const rlim_t seconds = rlim_t((timeLimitMs + 999) / 1000);
  child.setChildProcessModifier([seconds, memoryLimitBytes] {
    // Only async-signal-safe calls here: the child has not run exec yet.
    if (kLimitAddressSpace) {
      const rlimit memory{rlim_t(memoryLimitBytes), rlim_t(memoryLimitBytes)};
      setrlimit(RLIMIT_AS, &memory);
    }
    const rlimit cpu{seconds, seconds};
    setrlimit(RLIMIT_CPU, &cpu);
  });
  child.start(program, arguments);
  if (!child.waitForStarted())
    return run;
  run.started = true;
  QElapsedTimer clock;
  clock.start();
  while (!child.waitForFinished(100)) {
    run.output += child.readAllStandardOutput();
    if (clock.elapsed() > timeLimitMs || child.state() == QProcess::NotRunning)
      break;
  }
  if (child.state() != QProcess::NotRunning) {
    child.kill();
    child.waitForFinished();
    run.timedOut = true;
  }
  run.output += child.readAllStandardOutput();
  run.errors = QString::fromUtf8(child.readAllStandardError()).trimmed();
  run.crashed = !run.timedOut && child.exitStatus() != QProcess::NormalExit;
  run.exitCode = child.exitCode();
  return run;
}

} // namespace tessera
