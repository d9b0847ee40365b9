#pragma once

#include "document/TextEncoder.h"
#include "editor/FileEncoding.h"
#include "platform/Prompts.h"

#include <QMessageBox>
#include <QString>

#include <functional>

class QIODevice;
class QWidget;

namespace tessera {

class TextDocument;

// What every document command shares: the open and save dialogs with the
// names they remember, the save question, loading a file into the document
// and saving the document's text to a chosen file.
class DocumentFiles {
public:
  // Files larger than this many characters are refused ("Text exceeds memo
  // capacity"); tests may lower it.
  static constexpr qint64 kDefaultCapacity = qint64(1) << 28;

  DocumentFiles(TextDocument& document, Prompts& prompts, QWidget* dialogParent);

  static QStringList fileFilters();
  static QString saveQuestionText();

  // Beep, then Yes / No / Cancel; Escape counts as Cancel.
  QMessageBox::StandardButton askSaveQuestion();

  // The open dialog; the confirmed name is remembered. Empty when cancelled.
  QString chooseFileToOpen();
  // Loads `path` into the document in one step and makes it the
  // document's file, with the encoding and line-break style it was read in.
  // On failure shows the error box and leaves text, flag and caret as they
  // were.
  bool loadFile(const QString& path);
  // Loads the document's file again, read as `encoding`. False when the
  // document has no file or the load failed (the error box has been shown).
  bool reloadAs(const FileEncoding& encoding);
  // Whether the last loaded file was converted into source (a compiled
  // deck): the result is a new, modified document with no file of its own.
  bool lastLoadConverted() const { return lastLoadConverted_; }

  // Files that are not text but can be turned into it (compiled decks):
  // the reader says whether the bytes are its kind and, if they are, gives
  // the source or the reason it cannot.
  struct ConvertedFile {
    bool recognised = false;
    QString text;
    QString error; // shown as it is when not empty
  };
  using FileConverter = std::function<ConvertedFile(const QString& path, const QByteArray& bytes)>;
  void setFileConverter(FileConverter converter) { converter_ = std::move(converter); }

  // The save dialog, then the write. False when cancelled or failed (the
  // error box has then been shown). Clears nothing: callers decide.
  bool saveToChosenFile();
  // Writes the document's text to `path` atomically, in the document's
  // encoding and line-break style, keeping the mode (and, for root, the
  // owner) of the file it replaces; `path` becomes the document's file.
  // Characters the encoding cannot hold are asked about first; Cancel
  // writes nothing. Shows the error on failure.
  bool writeTo(const QString& path);
  // The document's text as UTF-8 with CR LF breaks (the backup's bytes,
  // written without a question, so in an encoding that holds everything).
  QByteArray documentBytes() const;

  // The encoding of the next saves; an XML declaration that names an
  // encoding is changed to name this one (a program edit).
  void adoptEncoding(const FileEncoding& encoding);
  // A new document: no file, UTF-8, CR LF, and nothing to tell about it.
  void forgetFile();
  // Told, after each load, what to say about how the file was read (empty:
  // nothing to say).
  void setNoticeObserver(std::function<void(const QString&)> observer) {
    notice_ = std::move(observer);
  }
  static QString unencodableQuestionText(const FileEncoding& encoding,
                                         const UnencodableCharacters& found);

  QString rememberedOpenName() const { return openName_; }
  QString rememberedSaveName() const { return saveName_; }

  void setCapacity(qint64 characters) { capacity_ = characters; }

private:
  bool load(const QString& path, const FileEncoding* chosen);
  void tell(const QString& notice);

  TextDocument& document_;
  Prompts& prompts_;
  QWidget* parent_;
  QString openName_;
  QString saveName_ = QStringLiteral("Untitled1");
  qint64 capacity_ = kDefaultCapacity;
  FileConverter converter_;
  bool lastLoadConverted_ = false;
  std::function<void(const QString&)> notice_;
};

// The runtime's error texts for failed file operations.
QString cannotOpenFileText(const QString& path, const QString& reason);
QString cannotCreateFileText(const QString& path, const QString& reason);
// Writes `bytes` to `path` through a temporary file, so a failed write
// leaves any old file whole. On failure returns false and sets `reason`.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason);
// The same with the file's contents written by `writeBody`, which returns
// false when a write failed.
bool writeFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& writeBody,
                         QString* reason);

} // namespace tessera
