#include "document/DocumentFiles.h"
#include "document/DocumentWriter.h"

#include "document/FileReading.h"
#include "editor/TextDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace tessera {

QString cannotOpenFileText(const QString& path, const QString& reason) {
  return QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(path), reason);
}

QString cannotCreateFileText(const QString& path, const QString& reason) {
  return QStringLiteral("Cannot create file \"%1\". %2")
      .arg(QDir::toNativeSeparators(path), reason);
}

bool writeFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& writeBody,
                         QString* reason) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    *reason = file.errorString();
    return false;
  }
  if (!writeBody(file)) {
    *reason = file.errorString();
    file.cancelWriting();
    return false;
  }
  // The tail of the text may still sit in the write buffer, and a failure
  // to write it out would go unnoticed by commit(), which then replaces the
  // old file with a cut-off one: flush first and check.
  if (!file.flush()) {
    *reason = file.errorString();
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    *reason = file.errorString();
    return false;
  }
  return true;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason) {
  return writeFileAtomically(
      path, [&bytes](QIODevice& out) { return out.write(bytes) == bytes.size(); }, reason);
}

DocumentFiles::DocumentFiles(TextDocument& document, Prompts& prompts, QWidget* dialogParent)
    : document_(document), prompts_(prompts), parent_(dialogParent) {}

QStringList DocumentFiles::fileFilters() {
  return {QStringLiteral("WML Files (*.wml)"), QStringLiteral("PHP Files (*.php)"),
          QStringLiteral("Text Files (*.txt)"), QStringLiteral("All Files (*.*)")};
}

QString DocumentFiles::saveQuestionText() {
  return QStringLiteral(
      "The text in the file has been changed.\n\rDo you want to save the changes?");
}

QMessageBox::StandardButton DocumentFiles::askSaveQuestion() {
  prompts_.beep();
  const auto answer = prompts_.confirm(parent_, saveQuestionText(),
                                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::Yes || answer == QMessageBox::No)
    return answer;
  return QMessageBox::Cancel;
}

QString DocumentFiles::chooseFileToOpen() {
  FileDialogRequest request;
  request.title = QStringLiteral("Open");
  request.filters = fileFilters();
  request.initialName = openName_;
  const QString name = prompts_.openFileName(parent_, request);
  if (!name.isEmpty())
    openName_ = name;
  return name;
}

bool DocumentFiles::loadFile(const QString& path) {
  // One byte decodes to at most one character, so a file of more bytes than
  // the capacity can never fit; it is not read further than that.
  FileReadResult read = readAtMost(path, capacity_);
  if (read.status == FileReadResult::CannotOpen) {
    prompts_.error(parent_, cannotOpenFileText(path, read.reason));
    return false;
  }
  if (read.status == FileReadResult::TooLarge) {
    prompts_.error(parent_, QStringLiteral("Text exceeds memo capacity"));
    return false;
  }
  if (converter_) {
    const ConvertedFile converted = converter_(path, read.bytes);
    if (converted.recognised) {
      if (!converted.error.isEmpty()) {
        prompts_.error(parent_, converted.error);
        return false;
      }
      // Saving proposes a source file beside the compiled one, so the
      // deck's relative links still resolve.
      const QFileInfo info(path);
      saveName_ = info.dir().filePath(info.completeBaseName() + QStringLiteral(".wml"));
      lastLoadConverted_ = true;
      document_.replaceWholeText(normaliseLineBreaks(converted.text));
      document_.forgetFile();
      // No file of its own, but its links resolve in the compiled deck's folder.
      document_.setFilePath(saveName_);
      return true;
    }
  }
  DecodedText decoded = decodeDocument(read.bytes);
  read.bytes.clear();
  // Line breaks may have grown by the normalisation to CR LF.
  if (decoded.text.size() > capacity_) {
    prompts_.error(parent_, QStringLiteral("Text exceeds memo capacity"));
    return false;
  }
  lastLoadConverted_ = false;
  document_.replaceWholeText(decoded.text);
  document_.setEncoding(decoded.encoding);
  document_.setFilePath(path);
  return true;
}

QByteArray DocumentFiles::documentBytes() const {
  return encodeDocument(document_.wholeText(), document_.encoding());
}

bool DocumentFiles::writeTo(const QString& path) {
  QString reason;
  // Written line by line: a large document is never copied whole to save it.
  const QTextDocument& document = *document_.qtDocument();
  const TextEncoding encoding = encodingToWrite(document, document_.encoding());
  const auto body = [&](QIODevice& out) { return writeDocument(document, encoding, out); };
  if (!writeFileAtomically(path, body, &reason)) {
    prompts_.error(parent_, cannotCreateFileText(path, reason));
    return false;
  }
  document_.setFilePath(path);
  return true;
}

bool DocumentFiles::saveToChosenFile() {
  FileDialogRequest request;
  request.title = QStringLiteral("Save As");
  request.filters = fileFilters();
  request.initialName = saveName_;
  request.defaultSuffix = QStringLiteral("wml");
  request.confirmOverwrite = true;
  const QString name = prompts_.saveFileName(parent_, request);
  if (name.isEmpty())
    return false;
  saveName_ = name;
  return writeTo(name);
}

} // namespace tessera
