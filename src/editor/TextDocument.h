#pragma once

#include "editor/FileEncoding.h"
#include "editor/TextFormat.h"
#include "wml/Positions.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QTextDocument;

namespace tessera {

// The text as it stood at one moment, for work done away from the main
// thread (checking, compiling, preview). Immutable once taken.
struct TextSnapshot {
  QString text; // line breaks as '\n'
  quint64 revision = 0;
  QString filePath; // the file last opened or saved; empty for a new document

  // Where each line starts in `text`, the first at 0. Computed when asked,
  // so a worker thread pays for it, not the editor.
  QList<qsizetype> lineStarts() const;
};

// The document: the text (held in the toolkit's text document, which the
// source editor view draws), the modified flag, the one-step undo policy,
// change notifications, the file's encoding and line-break style, the file
// it was last opened from or saved to, and every conversion between the
// two kinds of positions and (line, column).
//
// Nothing here materialises the whole text except wholeText(), snapshot()
// and replaceWholeText(): positions convert through the line (block) number.
class TextDocument : public QObject {
  Q_OBJECT
public:
  explicit TextDocument(QObject* parent = nullptr);
  ~TextDocument() override;

  // The toolkit's document, for the view that draws it and for code that
  // walks its lines or edits it through a cursor.
  QTextDocument* qtDocument() const { return document_; }

  // --- the whole text
  QString wholeText() const; // CR LF line breaks
  int textLength() const;    // same count as wholeText().size(), without building it
  TextPosition end() const { return TextPosition(textLength()); }
  // Whether the text equals `text` (CR LF breaks), character for character.
  bool holdsText(const QString& text) const;
  // Replaces the whole text in one step that cannot be undone (the undo
  // record is emptied either way). Runs the change handling only when the
  // text differs; returns whether it did. Views put their caret at the
  // start (textReplaced).
  bool replaceWholeText(const QString& text);
  // The text with '\n' breaks, its revision and file; cheap enough for the
  // main thread (one copy of the characters).
  TextSnapshot snapshot() const;
  // The text of the last snapshot while the document has not changed since
  // (line breaks as '\n'); null otherwise. The copy made for checking or
  // preview is kept until the next edit, so a save or another worker that
  // needs the same text does not copy it again.
  QString heldText() const;
  // Grows by at least one with every change of the text.
  quint64 revision() const { return revision_; }

  // --- lines and positions
  int lineCount() const; // text lines; an empty text has one
  // Where the 0-based `line` starts (the toolkit's block number).
  TextPosition lineStart(int line) const;
  // The 1-based line and character column of a place, as checkers and
  // compilers print them. Reads the place's line.
  LineColumn lineColumnAt(TextPosition position) const;
  // Lines and columns out of range clamp to the nearest place in the text.
  TextPosition positionAt(LineColumn place) const;
  TextPosition toTextPosition(QtPosition position) const;
  // A place between the CR and the LF of a break stays at the line end.
  QtPosition toQtPosition(TextPosition position) const;

  // --- modified flag
  bool isModified() const { return modified_; }
  void setModified(bool modified) { modified_ = modified; }

  // --- undo: one step of the user's own editing (typing, cut, paste,
  // deletion). Program edits are not undoable and forget that step; every
  // one of them runs through editWithoutUndo().
  void editWithoutUndo(const std::function<void()>& edit);
  bool canUndoStep() const;
  // After an Undo the next Undo redoes the same step, so the step to take
  // is a redo when one is available.
  bool undoStepRedoes() const;

  // --- the file: what the next save writes (its encoding and line-break
  // style) and where the text last came from or went. Each change is told
  // by fileChanged().
  const FileEncoding& encoding() const { return encoding_; }
  void setEncoding(const FileEncoding& encoding);
  LineBreakStyle lineBreakStyle() const { return lineBreaks_; }
  void setLineBreakStyle(LineBreakStyle style);
  QString filePath() const { return filePath_; }
  void setFilePath(const QString& path);
  // A new document: UTF-8, CR LF, no file.
  void forgetFile();

signals:
  // Every change of the characters, in the toolkit's positions, before the
  // change handling: caches of the text follow it here.
  void contentsChange(int from, int removed, int added);
  // The change handling after an edit (one for a whole replacement): the
  // modified flag is set by then.
  void changed();
  // The whole text was replaced; the caret belongs at the start.
  void textReplaced();
  // The encoding, the line-break style or the file changed.
  void fileChanged();

private:
  void onContentsChange(int from, int removed, int added);
  void releaseHeldText();

  QTextDocument* document_;
  quint64 revision_ = 0;
  bool modified_ = false;
  bool replacing_ = false;
  FileEncoding encoding_;
  LineBreakStyle lineBreaks_ = LineBreakStyle::CrLf;
  QString filePath_;
  // The last snapshot's text and revision, dropped on the next change.
  mutable QString heldText_;
  mutable quint64 heldRevision_ = 0;
};

} // namespace tessera
