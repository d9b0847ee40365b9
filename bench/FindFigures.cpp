// Find Next over the whole document against QString::indexOf over the same
// text, and Replace All against QString::replace plus handing the result to
// the toolkit's editor.
#include "Bench.h"
#include "Fixture.h"

#include "editing/EditingCommands.h"
#include "editing/FindReplace.h"

#include <QTextDocument>

namespace {

// Any edit makes the next search read the text afresh; this one leaves it
// as it was.
void touch(tessera::SourceEditor& editor) {
  editor.setSelection(tessera::TextPosition(0), 0);
  editor.insertAtCaret(QStringLiteral("x"));
  editor.setSelection(tessera::TextPosition(0), 1);
  editor.insertAtCaret(QString());
}

int countAll(const QString& text, const QString& needle) {
  int count = 0;
  for (qsizetype at = text.indexOf(needle); at >= 0; at = text.indexOf(needle, at + needle.size()))
    ++count;
  return count;
}

// `lines` lines, each holding the searched word once.
QString linesWithWord(int lines) {
  QString text;
  text.reserve(qsizetype(lines) * 40);
  for (int i = 0; i < lines; ++i)
    text += QStringLiteral("<p>line %1 holds the word</p>\r\n").arg(i);
  return text;
}

} // namespace

// A search text that is not there: Find Next reads and scans everything.
// After an edit the text has to be read from the widget again, so that
// case is held against the toolkit reading its own text and searching it;
// a second press searches only, against QString::indexOf alone.
BENCH_FIGURE(findNext, 60) {
  bench::AppWindow app;
  tessera::SourceEditor& editor = app.editor();
  tessera::FindReplace& find = app.window().editing()->findReplace();
  const QString absent = QStringLiteral("<absent-element/>");
  for (const int mb : context.sizesMb) {
    app.load(context.sampleFile(mb));
    qsizetype hit = 0;
    double ours = 0, reference = 0;
    bench::bestOfAlternating(
        bench::Context::runsFor(mb), [&] { find.findNext(absent); },
        [&] { hit = editor.document()->toRawText().indexOf(absent); }, &ours, &reference,
        [&] { touch(editor); });
    context.add({QStringLiteral("find next after an edit vs read + indexOf"),
                 bench::Context::sizeLabel(mb), ours, reference, 2});
    const QString text = editor.document()->toRawText();
    bench::bestOfAlternating(
        bench::Context::runsFor(mb), [&] { find.findNext(absent); },
        [&] { hit = text.indexOf(absent); }, &ours, &reference);
    context.add({QStringLiteral("find next again vs QString::indexOf"),
                 bench::Context::sizeLabel(mb), ours, reference, 1.5});
    if (hit >= 0)
      std::printf("  (the absent text was found)\n");
    app.clear();
  }
}

// Replace All with 10 000 and 100 000 occurrences, against replacing them
// in a QString and giving the result to a bare QPlainTextEdit.
BENCH_FIGURE(replaceAll, 61) {
  bench::AppWindow app;
  tessera::SourceEditor& editor = app.editor();
  tessera::FindReplace& replace = app.window().editing()->findReplace();
  auto bare = bench::bareEditorLike(editor);
  for (const int occurrences : {10000, 100000}) {
    const QString original = linesWithWord(occurrences);
    QString replaced;
    double ours = 0, reference = 0;
    bench::bestOfAlternating(
        2, [&] { replace.replaceAll(QStringLiteral("word"), QStringLiteral("term")); },
        [&] {
          replaced = original;
          replaced.replace(QStringLiteral("word"), QStringLiteral("term"));
          bare->setPlainText(replaced);
        },
        &ours, &reference,
        [&] {
          editor.textDocument().replaceWholeText(original);
          bare->clear();
          bench::settle();
        });
    if (countAll(replaced, QStringLiteral("term")) != occurrences ||
        countAll(editor.textDocument().wholeText(), QStringLiteral("term")) != occurrences) {
      std::printf("  (replace all missed occurrences)\n");
      reference = 0; // reported as out of bound
    }
    context.add(
        {QStringLiteral("replace all, %1 occurrences, vs replace + setPlainText").arg(occurrences),
         QStringLiteral("%1 MB").arg(double(original.size()) / (1 << 20), 0, 'f', 1), ours,
         reference, 2});
    app.clear();
  }
}
