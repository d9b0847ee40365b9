#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace tessera {

class DocumentFiles;
class Prompts;
class EditorView;
class Shell;
class TextDocument;

// New, New window, Open and Save, and the document reset that New runs.
// The commands keep no state of their own: the modified flag decides
// whether the save question is asked.
class DocumentCommands {
public:
  DocumentCommands(TextDocument& document, EditorView& view, DocumentFiles& files,
                   Prompts& prompts, Shell& shell, QWidget* dialogParent);

  // Run by the reset after the text: the first tab of the tools panel and
  // every tool field back to its start value.
  void setToolsReset(std::function<void()> reset) { toolsReset_ = std::move(reset); }
  // The executable New window starts; this program's own by default.
  void setProgramPath(const QString& path) { programPath_ = path; }
  QString programPath() const { return programPath_; }

  void newFile();   // File > New > File...
  void newWindow(); // File > New > Window...
  void open();      // File > Open...
  void save();      // File > Save...

  // The default document, the tool fields, caret at the top, focus, a
  // clear modified flag, no file and a fresh encoding.
  void resetDocument();

  static QString cannotStartText(const QString& program);

private:
  // The save question and its answer; true when the command may go on.
  bool settleUnsavedChanges();

  TextDocument& document_;
  EditorView& view_;
  DocumentFiles& files_;
  Prompts& prompts_;
  Shell& shell_;
  QWidget* parent_;
  std::function<void()> toolsReset_;
  QString programPath_;
};

} // namespace tessera
