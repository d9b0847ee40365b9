// Operations at the end of a large document against the same at its start,
// typing in a large document against a small one, and Go to Line.
#include "Bench.h"
#include "Fixture.h"

#include "editor/Insertion.h"

#include <QTest>

#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <functional>

namespace {

constexpr int kRefreshes = 20000; // each well under a microsecond: many, for a steady figure
constexpr int kInsertions = 40;
// A tool's typical piece of WML: 20 characters.
const QString kPiece = QStringLiteral("<p align=\"left\"></p>");

const char* wrapLabel(bool wrap) { return wrap ? "wrap on" : "wrap off"; }

void setWrap(tessera::SourceEditor& editor, bool wrap) {
  editor.setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  editor.lineCount(); // the row cache warm
  bench::settle();
}

// The best of `runs` of `work` after placing the caret each way; moving the
// caret (and the scrolling it brings) is not part of the time.
void endAgainstStart(int runs, const std::function<void()>& toEnd,
                     const std::function<void()>& toStart, const std::function<void()>& work,
                     double* endMs, double* startMs) {
  *endMs = *startMs = 1e300;
  for (int i = 0; i < runs; ++i) {
    toStart();
    bench::settle();
    *startMs = std::min(*startMs, bench::timeMs(work));
    toEnd();
    bench::settle();
    *endMs = std::min(*endMs, bench::timeMs(work));
  }
}

} // namespace

BENCH_FIGURE(endVersusStart, 30) {
  bench::AppWindow app;
  tessera::SourceEditor& editor = app.editor();
  for (const int mb : context.sizesMb) {
    app.load(context.sampleFile(mb));
    const QString size = bench::Context::sizeLabel(mb);
    for (const bool wrap : {false, true}) {
      setWrap(editor, wrap);
      const auto atStart = [&] { editor.setSelection(tessera::TextPosition(0), 0); };
      const auto atEnd = [&] {
        editor.setSelection(tessera::TextPosition(editor.textDocument().textLength()), 0);
      };
      const auto refreshes = [&] {
        for (int i = 0; i < kRefreshes; ++i)
          editor.refreshStatus();
      };
      const auto insertions = [&] {
        for (int i = 0; i < kInsertions; ++i)
          editor.apply(tessera::Insertion{kPiece, 0, false});
      };
      double end = 0, start = 0;
      endAgainstStart(7, atEnd, atStart, refreshes, &end, &start);
      context.add({QStringLiteral("status refresh at the end vs start, %1").arg(wrapLabel(wrap)),
                   size, end, start, 2.5});
      endAgainstStart(3, atEnd, atStart, insertions, &end, &start);
      context.add(
          {QStringLiteral("20-character insertion at the end vs start, %1").arg(wrapLabel(wrap)),
           size, end, start, 2});
    }
    app.clear();
  }
}

// The largest document against a 1 KB one, word wrap on, 1000 key presses.
BENCH_FIGURE(typing, 40) {
  const int mb = context.largestMb();
  bench::AppWindow large, small;
  large.load(context.sampleFile(mb));
  small.editor().textDocument().replaceWholeText(QString::fromUtf8(context.sampleText(1024)));
  QString keys;
  while (keys.size() < 1000)
    keys += QStringLiteral("typed words ");
  keys.truncate(1000);
  for (bench::AppWindow* app : {&large, &small}) {
    setWrap(app->editor(), true);
    app->editor().setSelection(tessera::TextPosition(app->editor().textDocument().textLength()), 0);
  }
  double ours = 0, reference = 0;
  bench::bestOfAlternating(
      2, [&] { QTest::keyClicks(&large.editor(), keys); },
      [&] { QTest::keyClicks(&small.editor(), keys); }, &ours, &reference,
      [&] {
        // Each run types a line of its own.
        for (bench::AppWindow* app : {&large, &small})
          app->editor().apply(tessera::Insertion{QStringLiteral("\r\n"), 0, false});
        bench::settle();
      });
  context.add({QStringLiteral("typing 1000 characters at the end vs 1 KB"),
               bench::Context::sizeLabel(mb), ours, reference, 3});
}

// Go to the last line with nothing measured yet (as right after a load or a
// width change), against laying out every line of the document once.
BENCH_FIGURE(goToLastLine, 50) {
  bench::AppWindow app;
  tessera::SourceEditor& editor = app.editor();
  auto bare = bench::bareEditorLike(editor);
  for (const int mb : context.sizesMb) {
    app.load(context.sampleFile(mb));
    setWrap(editor, true);
    bare->setPlainText(editor.textDocument().wholeText());
    bench::settle();
    const QTextDocument* doc = bare->document();
    const qreal width = bare->viewport()->width() - 2 * doc->documentMargin();
    int lines = 0;
    double ours = 0, reference = 0;
    bench::bestOfAlternating(
        bench::Context::runsFor(mb),
        [&] {
          const int last = editor.lineCount() - 1;
          editor.setSelection(editor.lineStart(last), 0);
        },
        [&] {
          lines = 0;
          for (QTextBlock b = doc->firstBlock(); b.isValid(); b = b.next()) {
            QTextLayout layout(b.text(), doc->defaultFont());
            layout.setTextOption(doc->defaultTextOption());
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
              line.setLineWidth(width);
              ++lines;
            }
            layout.endLayout();
          }
        },
        &ours, &reference,
        [&] {
          // Forget every count, as a width change does.
          editor.setLineWrapMode(QPlainTextEdit::NoWrap);
          editor.lineCount();
          editor.setLineWrapMode(QPlainTextEdit::WidgetWidth);
          editor.setSelection(tessera::TextPosition(0), 0);
        });
    if (editor.lineOfPosition(editor.caretPosition()) != editor.lineCount() - 1)
      reference = 0; // the caret did not reach the last line: reported as out of bound
    context.add({QStringLiteral("Go to Line, last line, wrap on, vs one full layout"),
                 bench::Context::sizeLabel(mb), ours, reference, 1.2});
    bare->clear();
    app.clear();
  }
}
