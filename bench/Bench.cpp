#include "Bench.h"
#include "SampleWml.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace bench {

QList<Figure>& figures() {
  static QList<Figure> all;
  return all;
}

QList<ChildMode>& childModes() {
  static QList<ChildMode> all;
  return all;
}

int Context::largestMb() const {
  return sizesMb.isEmpty() ? 0 : *std::max_element(sizesMb.begin(), sizesMb.end());
}

QString Context::sampleFile(int mb) {
  const QString path = QDir(workDir).filePath(QStringLiteral("sample-%1mb.wml").arg(mb));
  if (!QFile::exists(path)) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(sampleWml(qint64(mb) << 20)) < 0) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      std::exit(2);
    }
  }
  return path;
}

QByteArray Context::sampleText(qint64 bytes) { return sampleWml(bytes); }

void Context::add(const Row& row) {
  rows.append(row);
  std::printf("  %-44s %-6s %11.3f %11.3f %-3s %6.2f  <= %-4.2g %s\n", qPrintable(row.figure),
              qPrintable(row.size), row.measured, row.reference, qPrintable(row.unit), row.ratio(),
              row.bound, row.withinBound() ? "ok" : "OUT");
  std::fflush(stdout);
}

double timeMs(const std::function<void()>& work) {
  QElapsedTimer clock;
  clock.start();
  work();
  return double(clock.nsecsElapsed()) / 1e6;
}

void bestOfAlternating(int runs, const std::function<void()>& ours,
                       const std::function<void()>& reference, double* oursMs, double* referenceMs,
                       const std::function<void()>& before) {
  *oursMs = *referenceMs = std::numeric_limits<double>::max();
  for (int i = 0; i < runs; ++i) {
    if (before)
      before();
    *referenceMs = std::min(*referenceMs, timeMs(reference));
    if (before)
      before();
    *oursMs = std::min(*oursMs, timeMs(ours));
  }
}

QByteArray runChildOutput(const Context& context, const QString& mode, const QStringList& args,
                          double* wallMs) {
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QElapsedTimer clock;
  clock.start();
  child.start(context.program, QStringList{QStringLiteral("--child"), mode} + args);
  const bool finished = child.waitForFinished(300000);
  if (wallMs)
    *wallMs = double(clock.nsecsElapsed()) / 1e6;
  if (!finished || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
    return {};
  return child.readAllStandardOutput();
}

double runChild(const Context& context, const QString& mode, const QStringList& args,
                double* wallMs) {
  bool ok = false;
  const double value = runChildOutput(context, mode, args, wallMs).trimmed().toDouble(&ok);
  return ok ? value : -1;
}

} // namespace bench
