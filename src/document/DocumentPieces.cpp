#include "document/DocumentPieces.h"

// The public ways of reading the text (per-block text(), cursor selections,
// toRawText()) either look every piece up from the top of the document's
// tree or build one more full copy of it; walking the document's own pieces
// does neither.
#include <QtGui/private/qtextdocument_p.h>

#include <algorithm>

namespace tessera {

bool forEachTextPiece(const QTextDocument& document, const TextPieceVisitor& visit) {
  const QTextDocumentPrivate* d = QTextDocumentPrivate::get(&document);
  const QString buffer = d->buffer(); // shares the document's characters
  const QChar* const chars = buffer.constData();
  const QChar* const readable = chars + buffer.size();
  qsizetype left = qsizetype(d->length()) - 1; // without the closing separator
  // Pieces that follow one another in the buffer (a text loaded in one go)
  // are handed over as one run.
  const QChar* run = nullptr;
  qsizetype runSize = 0;
  for (auto it = d->begin(); it != d->end() && left > 0; ++it) {
    const QTextFragmentData* piece = *it;
    const qsizetype size = std::min<qsizetype>(piece->size_array[0], left);
    left -= size;
    const QChar* start = chars + piece->stringPosition;
    if (runSize > 0 && run + runSize == start) {
      runSize += size;
      continue;
    }
    if (runSize > 0 && !visit(QStringView(run, runSize), readable))
      return false;
    run = start;
    runSize = size;
  }
  return runSize == 0 || visit(QStringView(run, runSize), readable);
}

} // namespace tessera
