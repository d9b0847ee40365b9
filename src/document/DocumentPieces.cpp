#include "document/DocumentPieces.h"

// The public ways of reading the text (per-block text(), cursor selections,
// toRawText()) either look every piece up from the top of the document's
// tree or build one more full copy of it; walking the document's own pieces
// does neither.
#include <QtGui/private/qtextdocument_p.h>

#include <algorithm>
#include <vector>

namespace tessera {

namespace {
constexpr QChar kCrLf[] = {u'\r', u'\n'};

// Runs are handed over at about this length, while the characters the
// visitor is about to read are still cached.
constexpr qsizetype kLongestRun = qsizetype(1) << 15;

// Characters that follow one another in the document's buffer.
struct Run {
  const QChar* start = nullptr;
  const QChar* readable = nullptr;
  qsizetype size = 0;
  // Where a line break was taken to be the CR LF the buffer holds right
  // after the line. Checked only when the run is handed over: reading each
  // line's end during the walk would wait on memory once per line, while
  // these reads can all be under way at once.
  std::vector<qsizetype> breaks;

  bool handOver(const TextPieceVisitor& visit) {
    qsizetype from = 0;
    for (const qsizetype at : breaks) {
      if (start[at] == kCrLf[0] && start[at + 1] == kCrLf[1])
        continue;
      if (at > from && !visit(QStringView(start + from, at - from), readable))
        return false;
      if (!visit(QStringView(kCrLf, 2), kCrLf + 2))
        return false;
      from = at + 2;
    }
    breaks.clear();
    const qsizetype rest = size - from;
    size = 0;
    return rest == 0 || visit(QStringView(start + from, rest), readable);
  }
};
} // namespace

bool forEachTextPiece(const QTextDocument& document, const TextPieceVisitor& visit,
                      LineBreaks lineBreaks) {
  const QTextDocumentPrivate* d = QTextDocumentPrivate::get(&document);
  const QString buffer = d->buffer(); // shares the document's characters
  const QChar* const chars = buffer.constData();
  const QChar* const bufferEnd = chars + buffer.size();
  const bool crLf = lineBreaks == LineBreaks::CrLf;
  qsizetype left = qsizetype(d->length()) - 1; // without the closing separator
  // Pieces that follow one another in the buffer (a text typed or loaded in
  // one go) are handed over as one run.
  Run run;
  for (auto it = d->begin(); it != d->end() && left > 0; ++it) {
    const QTextFragmentData* piece = *it;
    qsizetype size = std::min<qsizetype>(piece->size_array[0], left);
    left -= size;
    const QChar* start = chars + piece->stringPosition;
    const QChar* readable = bufferEnd;
    const bool roomLeft = run.size > 0 && run.size < kLongestRun;
    // A line break is always a piece of its own.
    if (crLf && size == 1 && *start == QChar::ParagraphSeparator) {
      if (run.size > 0 && run.readable == bufferEnd && bufferEnd - (run.start + run.size) >= 2) {
        run.breaks.push_back(run.size);
        run.size += 2;
        continue;
      }
      start = kCrLf;
      size = 2;
      readable = kCrLf + 2;
    }
    if (roomLeft && run.start + run.size == start) {
      run.size += size;
      continue;
    }
    if (run.size > 0 && !run.handOver(visit))
      return false;
    run.start = start;
    run.size = size;
    run.readable = readable;
  }
  return run.size == 0 || run.handOver(visit);
}

} // namespace tessera
