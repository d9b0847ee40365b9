#pragma once

// The benchmark's frame: figures register themselves, measure their own
// operation and the toolkit's reference in the same run, and report rows.
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace bench {

// One line of the table: what was measured and what it is compared with.
struct Row {
  QString figure;
  QString size; // e.g. "10 MB", empty when the figure has no size
  double measured = 0;
  double reference = 0;
  double bound = 0; // the ratio measured / reference may not exceed it
  QString unit = QStringLiteral("ms");
  double ratio() const { return reference > 0 ? measured / reference : 0; }
  bool withinBound() const { return reference > 0 && ratio() <= bound; }
};

class Context {
public:
  QList<int> sizesMb; // document sizes to measure, in MiB
  QString workDir;    // generated files live here
  QString program;    // this executable, for child processes
  QList<Row> rows;

  int largestMb() const;
  static QString sizeLabel(int mb) { return QStringLiteral("%1 MB").arg(mb); }
  // A generated WML file of about `mb` MiB with CR LF breaks (made once).
  QString sampleFile(int mb);
  // The start of the same kind of document, `bytes` long, as text.
  static QByteArray sampleText(qint64 bytes);
  // Small sizes are repeated more, to take the best of several runs.
  static int runsFor(int mb) { return mb <= 1 ? 5 : mb <= 10 ? 3 : 2; }
  void add(const Row& row);
};

using FigureFunction = void (*)(Context&);
struct Figure {
  QString name;
  int order; // figures run in this order
  FigureFunction run;
};
QList<Figure>& figures();

// Work a child process does (start-up, peak memory): prints one number.
using ChildFunction = int (*)(int argc, char** argv, const QStringList& args);
struct ChildMode {
  QString name;
  ChildFunction run;
};
QList<ChildMode>& childModes();

struct RegisterFigure {
  RegisterFigure(const char* name, int order, FigureFunction run) {
    figures().append({QString::fromLatin1(name), order, run});
  }
};
struct RegisterChild {
  RegisterChild(const char* name, ChildFunction run) {
    childModes().append({QString::fromLatin1(name), run});
  }
};

// Milliseconds taken by one call of `work`.
double timeMs(const std::function<void()>& work);
// The best of `runs` calls of each, alternated so both meet the same machine load.
void bestOfAlternating(int runs, const std::function<void()>& ours,
                       const std::function<void()>& reference, double* oursMs, double* referenceMs,
                       const std::function<void()>& before = {});

// Runs this program as a child in `mode`; returns the number it printed
// (negative on failure). `wallMs` receives the child's whole run time.
double runChild(const Context& context, const QString& mode, const QStringList& args,
                double* wallMs = nullptr);
// The same, returning all the child printed (empty when it failed).
QByteArray runChildOutput(const Context& context, const QString& mode, const QStringList& args,
                          double* wallMs = nullptr);

} // namespace bench

#define BENCH_FIGURE(function, order)                                                              \
  static void function(bench::Context& context);                                                   \
  static const bench::RegisterFigure function##Registration(#function, order, function);           \
  static void function(bench::Context& context)

#define BENCH_CHILD(function, name)                                                                \
  static int function(int argc, char** argv, const QStringList& args);                             \
  static const bench::RegisterChild function##Registration(name, function);                        \
  static int function(int argc, char** argv, const QStringList& args)
