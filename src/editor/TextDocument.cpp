#include "editor/TextDocument.h"

#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QThreadPool>

#include <algorithm>
#include <utility>

namespace tessera {

namespace {
// The toolkit keeps a line break as one paragraph separator.
QString withCrLf(const QString& text) {
  // One pass: QString::replace with a longer text moves the tail once per
  // batch of hits, which is quadratic on a large document.
  const qsizetype breaks = text.count(QChar::ParagraphSeparator);
  if (breaks == 0)
    return text;
  QString out;
  out.reserve(text.size() + breaks);
  qsizetype from = 0;
  for (qsizetype at = text.indexOf(QChar::ParagraphSeparator); at >= 0;
       at = text.indexOf(QChar::ParagraphSeparator, from)) {
    out.append(QStringView(text).mid(from, at - from));
    out.append(QLatin1String("\r\n"));
    from = at + 1;
  }
  out.append(QStringView(text).mid(from));
  return out;
}
} // namespace

QList<qsizetype> TextSnapshot::lineStarts() const {
  QList<qsizetype> starts{0};
  for (qsizetype at = text.indexOf(QLatin1Char('\n')); at >= 0;
       at = text.indexOf(QLatin1Char('\n'), at + 1))
    starts.append(at + 1);
  return starts;
}

TextDocument::TextDocument(QObject* parent) : QObject(parent), document_(new QTextDocument(this)) {
  // The source editor view draws only documents laid out as plain text.
  document_->setDocumentLayout(new QPlainTextDocumentLayout(document_));
  connect(document_, &QTextDocument::contentsChange, this, &TextDocument::onContentsChange);
}

TextDocument::~TextDocument() = default;

void TextDocument::onContentsChange(int from, int removed, int added) {
  if (removed == 0 && added == 0)
    return;
  ++revision_;
  releaseHeldText();
  emit contentsChange(from, removed, added);
  // The toolkit reports clearing and filling as two changes; a
  // replacement is one, handled once it is complete.
  if (replacing_)
    return;
  modified_ = true;
  emit changed();
}

// --- the whole text ------------------------------------------------------------

QString TextDocument::wholeText() const { return withCrLf(document_->toRawText()); }

int TextDocument::textLength() const {
  // characterCount() includes the final paragraph separator.
  return document_->characterCount() - 1 + (document_->blockCount() - 1);
}

bool TextDocument::holdsText(const QString& text) const {
  // Compared line by line: a large document is never copied whole for this.
  if (text.size() != textLength())
    return false;
  const QStringView view(text);
  qsizetype offset = 0;
  const QTextBlock first = document_->firstBlock();
  for (QTextBlock block = first; block.isValid(); block = block.next()) {
    if (block != first) {
      if (view.mid(offset, 2) != QLatin1String("\r\n"))
        return false;
      offset += 2;
    }
    const QString line = block.text();
    if (view.mid(offset, line.size()) != line)
      return false;
    offset += line.size();
  }
  return offset == text.size();
}

bool TextDocument::replaceWholeText(const QString& text) {
  const bool differs = !holdsText(text);
  if (differs) {
    replacing_ = true;
    editWithoutUndo([&] { document_->setPlainText(text); });
    replacing_ = false;
  } else {
    document_->clearUndoRedoStacks();
  }
  emit textReplaced();
  if (differs) {
    modified_ = true;
    emit changed();
  }
  return differs;
}

TextSnapshot TextDocument::snapshot() const {
  TextSnapshot snapshot;
  snapshot.text = heldText();
  if (snapshot.text.isNull()) {
    snapshot.text = document_->toRawText();
    // Same length either way: the separators are swapped in place.
    for (QChar& c : snapshot.text) {
      if (c == QChar::ParagraphSeparator)
        c = QLatin1Char('\n');
    }
    heldText_ = snapshot.text;
    heldRevision_ = revision_;
  }
  snapshot.revision = revision_;
  snapshot.filePath = filePath_;
  return snapshot;
}

QString TextDocument::heldText() const {
  // The length as a second sign that the copy is the text as it stands.
  const bool current =
      heldRevision_ == revision_ && heldText_.size() == document_->characterCount() - 1;
  return current ? heldText_ : QString();
}

void TextDocument::releaseHeldText() {
  if (heldText_.isNull())
    return;
  // Handing back the memory of a large text takes milliseconds: not on the
  // keystroke that made the copy stale. A worker still reading the text
  // keeps its own reference anyway.
  QThreadPool::globalInstance()->start([text = std::exchange(heldText_, QString())]() {});
}

// --- lines and positions --------------------------------------------------------

int TextDocument::lineCount() const { return document_->blockCount(); }

// Each finds the block a place is in; the arithmetic is wml/Positions'.

TextPosition TextDocument::lineStart(int line) const {
  line = std::clamp(line, 0, lineCount() - 1);
  return textPositionOf(QtPosition(document_->findBlockByNumber(line).position()), line);
}

LineColumn TextDocument::lineColumnAt(TextPosition position) const {
  const QtPosition at = toQtPosition(position);
  const QTextBlock block = document_->findBlock(at.value);
  return {block.blockNumber() + 1, columnOfUtf16Offset(block.text(), at.value - block.position())};
}

TextPosition TextDocument::positionAt(LineColumn place) const {
  const int line = std::clamp(place.line - 1, 0, lineCount() - 1);
  const QTextBlock block = document_->findBlockByNumber(line);
  return textPositionOf(
      QtPosition(block.position() + utf16OffsetOfColumn(block.text(), place.column)), line);
}

TextPosition TextDocument::toTextPosition(QtPosition position) const {
  return textPositionOf(position, document_->findBlock(position.value).blockNumber());
}

QtPosition TextDocument::toQtPosition(TextPosition position) const {
  if (position.value <= 0)
    return QtPosition(0);
  // The last block whose start (line breaks counted two) is <= position.
  int lo = 0, hi = document_->blockCount() - 1;
  while (lo < hi) {
    const int mid = lo + (hi - lo + 1) / 2;
    if (document_->findBlockByNumber(mid).position() + mid <= position.value)
      lo = mid;
    else
      hi = mid - 1;
  }
  const QTextBlock block = document_->findBlockByNumber(lo);
  return qtPositionOf(position, lo, QtPosition(block.position()), block.length() - 1);
}

// --- undo ----------------------------------------------------------------------------

void TextDocument::editWithoutUndo(const std::function<void()>& edit) {
  // Switching undo off forgets the recorded step, so the user's last
  // action cannot be undone across a program edit.
  document_->setUndoRedoEnabled(false);
  edit();
  document_->setUndoRedoEnabled(true);
}

bool TextDocument::canUndoStep() const {
  return document_->isUndoAvailable() || document_->isRedoAvailable();
}

bool TextDocument::undoStepRedoes() const { return document_->isRedoAvailable(); }

// --- the file --------------------------------------------------------------------------

void TextDocument::setEncoding(const FileEncoding& encoding) {
  if (encoding_ == encoding)
    return;
  encoding_ = encoding;
  emit fileChanged();
}

void TextDocument::setLineBreakStyle(LineBreakStyle style) {
  if (lineBreaks_ == style)
    return;
  lineBreaks_ = style;
  emit fileChanged();
}

void TextDocument::setFilePath(const QString& path) {
  if (filePath_ == path)
    return;
  filePath_ = path;
  emit fileChanged();
}

void TextDocument::forgetFile() {
  setEncoding(FileEncoding::utf8());
  setLineBreakStyle(LineBreakStyle::CrLf);
  setFilePath(QString());
}

} // namespace tessera
