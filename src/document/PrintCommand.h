#pragma once

#include "document/PrinterSeam.h"

#include <memory>

class QWidget;

namespace tessera {

class EditorView;
class Prompts;

// File > Print: after one confirmation the editor lines go to the default
// printer as plain text. Changes nothing in the editor.
class PrintCommand {
public:
  PrintCommand(EditorView& editor, Prompts& prompts, QWidget* dialogParent);
  ~PrintCommand();

  // Tests hand in their own printer; the default is the system's.
  void setPrinter(PrinterSeam* printer) { printer_ = printer; }

  static QString confirmationText() { return QStringLiteral("Are you sure?"); }
  static QString printErrorText() { return QStringLiteral("Error: print"); }
  static QString noDefaultPrinterText() {
    return QStringLiteral("There is no default printer currently selected");
  }
  static QString invalidPrinterText() { return QStringLiteral("Printer selected is not valid"); }

  // The menu command: confirmation, then printLines(editorLines()).
  void run();
  // Prints `lines` as one job; failures end in an error box.
  void printLines(const QStringList& lines);

  // The editor's lines as displayed (wrapped rows under word wrap), each
  // cut to the printed length; an empty document has none.
  static QStringList editorLines(const EditorView& editor);

private:
  EditorView& editor_;
  Prompts& prompts_;
  QWidget* parent_;
  std::unique_ptr<SystemPrinter> systemPrinter_;
  PrinterSeam* printer_;
};

} // namespace tessera
