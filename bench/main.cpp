// The benchmark program: measures the editor's operations on generated WML of
// several sizes, each as a ratio to the toolkit's own cost in the same run,
// prints a table and exits non-zero when a ratio is out of its bound.
#include "Bench.h"
#include "platform/MemoryTuning.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

int runChildMode(int argc, char** argv) {
  const QStringList args = [&] {
    QStringList list;
    for (int i = 3; i < argc; ++i)
      list << QString::fromLocal8Bit(argv[i]);
    return list;
  }();
  const QString mode = QString::fromLocal8Bit(argv[2]);
  for (const bench::ChildMode& child : bench::childModes())
    if (child.name == mode)
      return child.run(argc, argv, args);
  std::fprintf(stderr, "unknown child mode %s\n", qPrintable(mode));
  return 2;
}

} // namespace

int main(int argc, char* argv[]) {
  // The program's own allocator settings, in every figure and child.
  tessera::tuneMemoryAllocator();
  // No display is needed; a real one may be chosen with QT_QPA_PLATFORM.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc >= 3 && qstrcmp(argv[1], "--child") == 0)
    return runChildMode(argc, argv);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tessera_bench"));
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Measures WML Tessera on large documents."));
  parser.addHelpOption();
  const QCommandLineOption quick(QStringLiteral("quick"), QStringLiteral("1 MB only."));
  const QCommandLineOption sizes(QStringLiteral("sizes"),
                                 QStringLiteral("Document sizes in MB (default 1,10,50)."),
                                 QStringLiteral("list"), QStringLiteral("1,10,50"));
  const QCommandLineOption only(QStringLiteral("only"),
                                QStringLiteral("Run only figures whose name contains this."),
                                QStringLiteral("text"));
  parser.addOptions({quick, sizes, only});
  parser.process(app);

  bench::Context context;
  context.program = QApplication::applicationFilePath();
  for (const QString& size : parser.value(sizes).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    bool ok = false;
    const int mb = size.trimmed().toInt(&ok);
    if (!ok || mb <= 0 || mb > 200) {
      std::fprintf(stderr, "bad size: %s\n", qPrintable(size));
      return 2;
    }
    context.sizesMb << mb;
  }
  if (parser.isSet(quick))
    context.sizesMb = {1};
  std::sort(context.sizesMb.begin(), context.sizesMb.end());
  QTemporaryDir dir;
  if (!dir.isValid()) {
    std::fprintf(stderr, "no temporary folder\n");
    return 2;
  }
  context.workDir = dir.path();

  QList<bench::Figure> figures = bench::figures();
  std::stable_sort(
      figures.begin(), figures.end(),
      [](const bench::Figure& a, const bench::Figure& b) { return a.order < b.order; });
  std::printf("  %-44s %-6s %11s %11s %-3s %6s  %s\n", "figure", "size", "measured", "reference",
              "", "ratio", "bound");
  for (const bench::Figure& figure : figures) {
    if (parser.isSet(only) && !figure.name.contains(parser.value(only), Qt::CaseInsensitive))
      continue;
    figure.run(context);
  }

  QStringList out;
  for (const bench::Row& row : context.rows)
    if (!row.withinBound())
      out << (row.figure + (row.size.isEmpty() ? QString() : QLatin1Char(' ') + row.size));
  if (out.isEmpty())
    std::printf("All %lld ratios within their bounds.\n", qlonglong(context.rows.size()));
  else
    std::printf("%lld of %lld ratios out of bound: %s\n", qlonglong(out.size()),
                qlonglong(context.rows.size()), qPrintable(out.join(QStringLiteral("; "))));
  return out.isEmpty() && !context.rows.isEmpty() ? 0 : 1;
}
