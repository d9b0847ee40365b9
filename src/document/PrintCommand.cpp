#include "document/PrintCommand.h"

#include "editor/EditorView.h"
#include "editor/TextDocument.h"
#include "platform/Product.h"
#include "platform/Prompts.h"

namespace tessera {

PrintCommand::PrintCommand(EditorView& editor, Prompts& prompts, QWidget* dialogParent)
    : editor_(editor), prompts_(prompts), parent_(dialogParent),
      systemPrinter_(std::make_unique<SystemPrinter>()), printer_(systemPrinter_.get()) {}

PrintCommand::~PrintCommand() = default;

void PrintCommand::run() {
  if (prompts_.confirm(parent_, confirmationText(), QMessageBox::Ok | QMessageBox::Cancel) !=
      QMessageBox::Ok)
    return;
  printLines(editorLines(editor_));
}

void PrintCommand::printLines(const QStringList& lines) {
  const QString printer = printer_->defaultPrinterName();
  if (printer.isEmpty()) {
    prompts_.error(parent_, noDefaultPrinterText());
    return;
  }
  const PageLayout layout = [&lines](const TextMeasure& measure, QSize area) {
    return layoutListing(lines, measure, area);
  };
  switch (printer_->print(printer, kProgramTitle, layout)) {
  case PrintStatus::Printed: break;
  case PrintStatus::InvalidPrinter: prompts_.error(parent_, invalidPrinterText()); break;
  case PrintStatus::DeviceError: prompts_.error(parent_, printErrorText()); break;
  }
}

QStringList PrintCommand::editorLines(const EditorView& editor) {
  QStringList lines;
  if (editor.textDocument().textLength() == 0)
    return lines;
  const int count = editor.lineCount();
  lines.reserve(count);
  for (int i = 0; i < count; ++i)
    lines.append(editor.lineText(i).left(kMaxPrintedLineLength));
  return lines;
}

} // namespace tessera
