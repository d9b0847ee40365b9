// What syntax colouring costs: a jump to the end of a large deck (whose
// line states above must be known), and a deck that is one long line.
#include "Bench.h"
#include "Fixture.h"

#include "deck/SyntaxColouring.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cstdio>

namespace {

// The sample deck with every line break made a blank: one line of `mb` MiB.
QString singleLineFile(bench::Context& context, int mb) {
  const QString path = QDir(context.workDir).filePath(QStringLiteral("one-line-%1mb.wml").arg(mb));
  if (!QFile::exists(path)) {
    QByteArray text = bench::Context::sampleText(qint64(mb) << 20);
    text.replace("\r\n", " ");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) < 0) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      std::exit(2);
    }
  }
  return path;
}

} // namespace

// Ctrl+End right after a load, and the paint of the last screen: with
// colouring on, the states of every line above must be known first.
BENCH_FIGURE(colouredJumpToEnd, 55) {
  const int mb = context.largestMb();
  const QString path = context.sampleFile(mb);
  bench::AppWindow app;
  tessera::SourceEditor& editor = app.editor();
  tessera::SyntaxColouring& colouring = *app.window().colouring();
  const auto jump = [&] {
    QTest::keyClick(&editor, Qt::Key_End, Qt::ControlModifier);
    editor.viewport()->repaint();
  };
  double on = 0, off = 0;
  bench::bestOfAlternating(
      3,
      [&] {
        colouring.setEnabled(true);
        jump();
      },
      [&] {
        colouring.setEnabled(false);
        jump();
      },
      &on, &off,
      [&] {
        // A fresh load each time: nothing known about the lines yet.
        app.clear();
        app.load(path);
        QTest::keyClick(&editor, Qt::Key_Home, Qt::ControlModifier);
        bench::settle();
      });
  context.add({QStringLiteral("Ctrl+End and paint, colouring on vs off"),
               bench::Context::sizeLabel(mb), on, off, 2});
  app.clear();
}

// A deck of 20 MB on a single line: opening it against the toolkit's own
// editor taking the same text, in time and in the memory each process holds.
BENCH_FIGURE(singleLineDeck, 56) {
  const int mb = 20;
  const QString path = singleLineFile(context, mb);
  {
    bench::AppWindow app;
    auto bare = bench::bareEditorLike(app.editor());
    double ours = 0, reference = 0;
    bench::loadAgainstBare(app, *bare, path, 1, &ours, &reference);
    context.add({QStringLiteral("open a deck that is one line"), bench::Context::sizeLabel(mb),
                 ours, reference, 1.3});
  }
  const double ours = bench::runChild(context, QStringLiteral("memory-app"), {path});
  const double reference = bench::runChild(context, QStringLiteral("memory-bare"), {path});
  bench::Row row{QStringLiteral("peak memory, a deck that is one line"),
                 bench::Context::sizeLabel(mb), ours, reference, 1.2};
  row.unit = QStringLiteral("MB");
  context.add(row);
}
