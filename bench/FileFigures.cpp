// Load, save and the memory held by a large document.
#include "Bench.h"
#include "Fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <cstdio>

namespace {

QByteArray readAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return file.readAll();
}

// Peak resident memory of this process image so far, in MB. (getrusage's
// maximum would carry over the parent's size through fork and exec.)
double peakMemoryMb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly))
    return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:"))
      return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
  return -1;
}

} // namespace

// Read, decode, normalise the breaks and show, against reading the bytes and
// handing them to the toolkit's editor.
BENCH_FIGURE(load, 10) {
  bench::AppWindow app;
  auto bare = bench::bareEditorLike(app.editor());
  for (const int mb : context.sizesMb) {
    const QString path = context.sampleFile(mb);
    double ours = 0, reference = 0;
    bench::bestOfAlternating(
        bench::Context::runsFor(mb),
        [&] {
          app.load(path);
          app.editor().repaint();
        },
        [&] {
          bare->setPlainText(QString::fromUtf8(readAll(path)));
          bare->repaint();
        },
        &ours, &reference,
        [&] {
          app.clear();
          bare->clear();
          bench::settle();
        });
    context.add({QStringLiteral("load (read, decode, normalise, show)"),
                 bench::Context::sizeLabel(mb), ours, reference, 1.3});
  }
}

// Encoding and the atomic write, against writing the same bytes at once.
BENCH_FIGURE(save, 20) {
  bench::AppWindow app;
  for (const int mb : context.sizesMb) {
    const QString path = context.sampleFile(mb);
    app.load(path);
    const QByteArray bytes = readAll(path);
    const QString ourCopy = QDir(context.workDir).filePath(QStringLiteral("saved.wml"));
    const QString plainCopy = QDir(context.workDir).filePath(QStringLiteral("written.wml"));
    double ours = 0, reference = 0;
    // Both sides create a new file each time, as the atomic save must.
    bench::bestOfAlternating(
        bench::Context::runsFor(mb), [&] { app.window().files().writeTo(ourCopy); },
        [&] {
          QFile file(plainCopy);
          if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        },
        &ours, &reference, [&] { QFile::remove(plainCopy); });
    if (readAll(ourCopy) != bytes) {
      std::fprintf(stderr, "saving changed the document's bytes\n");
      reference = 0; // reported as out of bound
    }
    QFile::remove(ourCopy);
    QFile::remove(plainCopy);
    context.add({QStringLiteral("save (encode, atomic write)"), bench::Context::sizeLabel(mb), ours,
                 reference, 1.5});
    app.clear();
  }
}

BENCH_FIGURE(peakMemory, 90) {
  const int mb = context.largestMb();
  const QString path = context.sampleFile(mb);
  const double ours = bench::runChild(context, QStringLiteral("memory-app"), {path});
  const double reference = bench::runChild(context, QStringLiteral("memory-bare"), {path});
  bench::Row row{QStringLiteral("peak memory holding the document"), bench::Context::sizeLabel(mb),
                 ours, reference, 1.2};
  row.unit = QStringLiteral("MB");
  context.add(row);
}

BENCH_CHILD(memoryApp, "memory-app") {
  QApplication app(argc, argv);
  bench::AppWindow window;
  window.load(args.value(0));
  window.editor().lineCount(); // every row counted, as after the idle passes
  bench::settle();
  std::printf("%.1f\n", peakMemoryMb());
  return 0;
}

BENCH_CHILD(memoryBare, "memory-bare") {
  QApplication app(argc, argv);
  QPlainTextEdit edit;
  edit.show();
  if (!QTest::qWaitForWindowExposed(&edit))
    return 1;
  edit.setPlainText(QString::fromUtf8(readAll(args.value(0))));
  bench::settle();
  std::printf("%.1f\n", peakMemoryMb());
  return 0;
}
