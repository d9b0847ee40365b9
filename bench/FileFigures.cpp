// Load, save and the memory held by a large document.
#include "Bench.h"
#include "Fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTest>
#include <QTextCursor>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>
#include <limits>

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
    bench::loadAgainstBare(app, *bare, path, bench::Context::runsFor(mb), &ours, &reference);
    context.add({QStringLiteral("load (read, decode, normalise, show)"),
                 bench::Context::sizeLabel(mb), ours, reference, 1.3});
  }
}

// Encoding and the atomic write, against the same bytes, already encoded,
// written with one write call and made safe the way any atomic save must:
// flushed to the disk and renamed over the old file. Most of a save is that
// flush, so a plain write to the page cache alone is no fair limit; it is
// printed beside the figure all the same.
//
// The document is opened the way the program opens a file, and the work that
// follows an open (the check on a worker) is let finish, as it has when a
// person chooses Save and a file name: the save then encodes the copy of the
// text the check took. A save that has to copy the text itself (checking
// off, or right after an edit) is printed beside the figure.
BENCH_FIGURE(save, 20) {
  bench::AppWindow app;
  for (const int mb : context.sizesMb) {
    const QString path = context.sampleFile(mb);
    if (!app.window().loadStartupFile(path)) {
      std::fprintf(stderr, "loading %s failed\n", qPrintable(path));
      std::exit(2);
    }
    QThreadPool::globalInstance()->waitForDone();
    bench::settle();
    const QByteArray bytes = readAll(path);
    const QString ourCopy = QDir(context.workDir).filePath(QStringLiteral("saved.wml"));
    const QString plainCopy = QDir(context.workDir).filePath(QStringLiteral("written.wml"));
    double ours = 0, reference = 0, plainWrite = 0;
    // Both sides replace an existing file each time, as a repeated save does.
    // The flush to disk varies much from one save to the next: more runs.
    const int runs = std::max(bench::Context::runsFor(mb), 7);
    const auto save = [&] { app.window().files().writeTo(ourCopy); };
    bench::bestOfAlternating(
        runs, save,
        [&] {
          QSaveFile file(plainCopy);
          if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
            file.commit();
        },
        &ours, &reference);
    plainWrite = std::numeric_limits<double>::max();
    for (int run = 0; run < runs; ++run) {
      QFile::remove(plainCopy);
      plainWrite = std::min(plainWrite, bench::timeMs([&] {
                              QFile file(plainCopy);
                              if (file.open(QIODevice::WriteOnly))
                                file.write(bytes);
                            }));
    }
    if (readAll(ourCopy) != bytes) {
      std::fprintf(stderr, "saving changed the document's bytes\n");
      reference = 0; // reported as out of bound
    }
    // The same document with no copy held: an edit made and taken back.
    double copying = std::numeric_limits<double>::max();
    QTextCursor cursor(app.editor().document());
    for (int run = 0; run < std::min(runs, 3); ++run) {
      cursor.insertText(QStringLiteral("x"));
      cursor.deletePreviousChar();
      copying = std::min(copying, bench::timeMs(save));
    }
    if (readAll(ourCopy) != bytes)
      reference = 0;
    QFile::remove(ourCopy);
    QFile::remove(plainCopy);
    context.add({QStringLiteral("save (encode, atomic write)"), bench::Context::sizeLabel(mb), ours,
                 reference, 2.0});
    std::printf("    reference: one write + flush to disk + rename; one write alone: %.3f ms\n"
                "    a save that copies the text itself (checking off, or just after an edit): "
                "%.3f ms\n",
                plainWrite, copying);
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
