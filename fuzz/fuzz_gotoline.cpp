// Go to Line's number conversion: whatever is pasted into the field, OK
// either accepts a line in range, which is then selected inside the text,
// or refuses with one message and accepts nothing.
#include "FuzzSupport.h"
#include "editing/GotoLineDialog.h"
#include "editing/LineSelection.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "platform/ScriptedPrompts.h"

#include <QLabel>
#include <QLineEdit>

#include <fuzzer/FuzzedDataProvider.h>

using namespace tessera;
using fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::ensureApplication();
  static ScriptedPrompts* prompts = new ScriptedPrompts;
  static SourceEditor* editor = new SourceEditor;
  static GotoLineDialog* dialog = new GotoLineDialog(*prompts);
  FuzzedDataProvider input(data, size);

  QString text;
  const int lines = input.ConsumeIntegralInRange(0, 40);
  for (int i = 0; i < lines; ++i)
    text += QString(input.ConsumeIntegralInRange(0, 30), QLatin1Char('w')) + QStringLiteral("\r\n");
  if (input.ConsumeBool())
    text += QStringLiteral("tail");
  editor->textDocument().replaceWholeText(text);
  const int count = goToLineCount(*editor);

  prompts->clear();
  dialog->prepare(count);
  const std::string typed = input.ConsumeRemainingBytesAsString();
  const QString entry = QString::fromUtf8(typed.data(), qsizetype(typed.size()));
  dialog->numberEdit()->setText(entry);
  dialog->setResult(QDialog::Rejected);
  dialog->pressOk();
  const bool accepted = dialog->result() == QDialog::Accepted;

  if (accepted) {
    const int line = dialog->chosenLine();
    require(line >= 1 && line <= count + 1, "an accepted line is out of range");
    require(prompts->asked.isEmpty(), "an accepted line also showed a message");
    selectEditorLine(*editor, line);
    require(editor->selectionStart().value >= 0 &&
                editor->selectionEnd().value <= editor->textDocument().textLength(),
            "the selected line lies outside the text");
    require(!editor->selectedText().contains(QLatin1Char('\r')),
            "the selected line includes a line break");
    if (line == count + 1)
      require(editor->selectionStart().value == editor->textDocument().textLength(),
              "past the end is not the end");
  } else {
    require(prompts->asked.size() == 1, "a refused entry showed no message or several");
  }
  // Plain digits in range are always accepted as their value.
  bool digits = !typed.empty() && typed.size() <= 6;
  for (char c : typed)
    digits = digits && c >= '0' && c <= '9';
  if (digits) {
    const int n = std::stoi(typed);
    require(accepted == (n >= 1 && n <= count + 1), "a number in range was refused");
    if (accepted)
      require(dialog->chosenLine() == n, "the chosen line differs from the number");
  }
  return 0;
}
