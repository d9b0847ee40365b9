// The source editor's position conversions (a line break counts two)
// against a plain CR LF string: selections in both directions with any
// numbers, moving the caret back, program insertions, and the editor lines.
#include "FuzzSupport.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

using namespace tessera;
using fuzzing::require;

namespace {
// A position inside a CR LF pair stands at the end of its line.
qint64 reference(const QString& text, qint64 position) {
  position = std::clamp<qint64>(position, 0, text.size());
  if (position > 0 && position < text.size() && text[position - 1] == QLatin1Char('\r') &&
      text[position] == QLatin1Char('\n'))
    --position;
  return position;
}

QString pieceOf(FuzzedDataProvider& input) {
  static const QString pieces[] = {QStringLiteral("a"),     QStringLiteral("\r\n"),
                                   QStringLiteral("word "), QStringLiteral("\n"),
                                   QStringLiteral("\r"),    QStringLiteral("<p>")};
  QString text;
  const int count = input.ConsumeIntegralInRange(0, 12);
  for (int i = 0; i < count; ++i)
    text += pieces[input.ConsumeIntegralInRange(0, 5)];
  return text;
}

QString normalised(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::ensureApplication();
  static SourceEditor* editor = [] {
    auto* e = new SourceEditor;
    e->setLineWrapMode(QPlainTextEdit::NoWrap);
    return e;
  }();
  FuzzedDataProvider input(data, size);
  QString model = normalised(pieceOf(input));
  editor->textDocument().replaceWholeText(model);
  qint64 anchor = 0, caret = 0; // the model's selection, caret = moving end

  while (input.remaining_bytes() > 0) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0: { // select: any start and length, negative and huge included
      const int start = input.ConsumeIntegral<int>();
      const int length = input.ConsumeIntegral<int>();
      editor->setSelection(tessera::TextPosition(start), length);
      anchor = reference(model, start);
      caret = reference(model, qint64(start) + length);
      break;
    }
    case 1: { // insert at the caret, replacing the selection
      const QString text = pieceOf(input);
      editor->insertAtCaret(text);
      const qint64 from = std::min(anchor, caret), to = std::max(anchor, caret);
      const QString inserted = normalised(text);
      model.replace(from, to - from, inserted);
      // Breaks next to the insertion may now pair up differently.
      model = normalised(model);
      anchor = caret = from + inserted.size();
      break;
    }
    case 2: { // move the caret back within the text
      const qint64 from = std::min(anchor, caret);
      const int n = input.ConsumeIntegralInRange<int>(0, int(std::min<qint64>(from, 64)));
      editor->moveCaretBack(n);
      anchor = caret = reference(model, from - n);
      break;
    }
    case 3: { // conversions of one position
      const int p = input.ConsumeIntegralInRange<int>(-4, int(model.size()) + 4);
      const tessera::TextDocument& document = editor->textDocument();
      const tessera::QtPosition q = document.toQtPosition(tessera::TextPosition(p));
      require(document.toTextPosition(q).value == reference(model, p), "position round trip");
      const int line = editor->lineOfPosition(tessera::TextPosition(p));
      const qint64 r = reference(model, p);
      require(line == model.left(r).count(QLatin1String("\r\n")), "line of a position");
      require(editor->lineStart(line).value <= r, "line start after the position");
      // Without wrapping an editor line is a text line.
      const tessera::LineColumn place = document.lineColumnAt(tessera::TextPosition(p));
      require(place.line == line + 1, "text line of a position");
      require(document.positionAt(place).value == r, "line and column round trip");
      break;
    }
    }
    require(editor->textDocument().textLength() == model.size(), "text length");
    require(editor->selectionStart().value == std::min(anchor, caret), "selection start");
    require(editor->selectionEnd().value == std::max(anchor, caret), "selection end");
    require(editor->cursorPosition().value == caret, "caret");
    const qint64 from = std::min(anchor, caret);
    require(editor->selectedText() == model.mid(from, std::max(anchor, caret) - from),
            "selected text");
  }
  require(editor->textDocument().wholeText() == model, "whole text");
  return 0;
}
