#include "document/DocumentFiles.h"
#include "document/DocumentWriter.h"

#include "document/EncodingDetection.h"
#include "document/FileCodec.h"
#include "document/FileOwnership.h"
#include "document/FileReading.h"
#include "editor/TextDocument.h"
#include "platform/Product.h"
#include "wml/syntax/XmlDeclaration.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

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
  keepOwnershipOf(path, file.handle());
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

bool DocumentFiles::loadFile(const QString& path) { return load(path, nullptr); }

bool DocumentFiles::load(const QString& path, const FileEncoding* chosen) {
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
  // A file read again in a chosen encoding is text, whatever it holds.
  if (converter_ && !chosen) {
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
      tell(QString());
      return true;
    }
  }
  // The bytes are read once; every guess about them is made in memory.
  DecodedFile decoded = chosen ? decodeFileAs(read.bytes, *chosen) : decodeFile(read.bytes);
  read.bytes.clear();
  // Line breaks may have grown by the normalisation to CR LF.
  if (decoded.text.size() > capacity_) {
    prompts_.error(parent_, QStringLiteral("Text exceeds memo capacity"));
    return false;
  }
  lastLoadConverted_ = false;
  document_.replaceWholeText(decoded.text);
  document_.setEncoding(decoded.encoding);
  document_.setLineBreakStyle(decoded.lineBreaks);
  document_.setFilePath(path);
  tell(decoded.notice());
  return true;
}

bool DocumentFiles::reloadAs(const FileEncoding& encoding) {
  const QString path = document_.filePath();
  if (path.isEmpty())
    return false;
  return load(path, &encoding);
}

void DocumentFiles::forgetFile() {
  document_.forgetFile();
  tell(QString());
}

void DocumentFiles::tell(const QString& notice) {
  if (notice_)
    notice_(notice);
}

QByteArray DocumentFiles::documentBytes() const {
  return encodeText(document_.wholeText(), FileEncoding::utf8(), LineBreakStyle::CrLf);
}

QString DocumentFiles::unencodableQuestionText(const FileEncoding& encoding,
                                               const UnencodableCharacters& found) {
  return QStringLiteral("The document holds %1 %2 that %3 cannot hold: %4%5.\n\n"
                        "Write each of them as a numeric character reference (such as "
                        "&#8364;), or save the whole document as UTF-8?")
      .arg(found.count)
      .arg(found.count == 1 ? QStringLiteral("character") : QStringLiteral("characters"))
      .arg(encoding.displayName(), found.firstAsText(),
           found.count > found.first.size() ? QStringLiteral(", …") : QString());
}

void DocumentFiles::adoptEncoding(const FileEncoding& encoding) {
  // The declaration must name the encoding the file is now in. It stands in
  // the first lines; '\n' takes the place of each break there, so places
  // in `head` are the toolkit's.
  QTextDocument& text = *document_.qtDocument();
  QString head;
  for (QTextBlock block = text.begin(); block.isValid() && head.size() < 1024; block = block.next())
    head += block.text() + QLatin1Char('\n');
  const QString name = QString::fromLatin1(encoding.declarationName());
  const auto declared = wml::syntax::declaredEncoding(QStringView(head));
  if (declared && QStringView(head).sliced(declared->from, declared->length) != name) {
    // The view's caret and selection are cursors on the text: they follow.
    document_.editWithoutUndo([&] {
      QTextCursor cursor(&text);
      cursor.setPosition(int(declared->from));
      cursor.setPosition(int(declared->from + declared->length), QTextCursor::KeepAnchor);
      cursor.insertText(name);
    });
  }
  document_.setEncoding(encoding);
}

bool DocumentFiles::writeTo(const QString& path) {
  TextEncoder::Unencodable unencodable = TextEncoder::Unencodable::Count;
  const UnencodableCharacters found = findUnencodable(document_, document_.encoding());
  if (found.count > 0) {
    // Never written in another encoding, nor with a character lost, unasked.
    const int answer = prompts_.choose(parent_, QMessageBox::Warning, kProgramTitle,
                                       unencodableQuestionText(document_.encoding(), found),
                                       {QStringLiteral("Use character references"),
                                        QStringLiteral("Save as UTF-8"), QStringLiteral("Cancel")});
    if (answer == 0)
      unencodable = TextEncoder::Unencodable::CharacterReference;
    else if (answer == 1)
      adoptEncoding(FileEncoding::utf8());
    else
      return false;
  }
  const FileEncoding& encoding = document_.encoding();
  if (!TextEncoder(encoding, LineBreakStyle::CrLf).isValid()) {
    prompts_.error(parent_,
                   cannotCreateFileText(path, QStringLiteral("No converter for %1 on this system")
                                                  .arg(encoding.displayName())));
    return false;
  }
  // Written piece by piece from one copy of the text: the one the document
  // still holds from its last snapshot (taken for checking, as a rule, while
  // the file name was asked for), else one taken now.
  const auto body = [&](QIODevice& out) {
    return writeDocument(document_, encoding, document_.lineBreakStyle(), out, unencodable);
  };
  QString reason;
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
