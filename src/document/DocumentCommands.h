#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace tessera {

class DocumentFiles;
struct FileEncoding;
class Prompts;
class EditorView;
class Shell;
class TextDocument;

// New, New window, Open and Save, and the document reset that New runs.
// The commands keep no state of their own: the modified flag decides
// whether the save question is asked.
class DocumentCommands {
public:
  DocumentCommands(TextDocument& document, EditorView& view, DocumentFiles& files, Prompts& prompts,
                   Shell& shell, QWidget* dialogParent);

  // Run by the reset after the text: the first tab of the tools panel and
  // every tool field back to its start value.
  void setToolsReset(std::function<void()> reset) { toolsReset_ = std::move(reset); }

  void newFile();   // File > New > File...
  void newWindow(); // File > New > Window...
  void open();      // File > Open...
  void save();      // File > Save...
  // File > Reopen with Encoding: the save question, then the document's
  // file read again as `encoding`.
  void reopenWithEncoding(const FileEncoding& encoding);

  // The default document, the tool fields, caret at the top, focus, a
  // clear modified flag, no file and a fresh encoding.
  void resetDocument();

  static QString cannotStartText(const QString& program);

  // The save question and its answer, asked only when the text is
  // modified; true when the command (or the closing) may go on.
  bool settleUnsavedChanges();

private:
  TextDocument& document_;
  EditorView& view_;
  DocumentFiles& files_;
  Prompts& prompts_;
  Shell& shell_;
  QWidget* parent_;
  std::function<void()> toolsReset_;
  const QString programPath_; // what New window starts: this program
};

} // namespace tessera
