#include "document/DocumentPieces.h"

#include <QTextDocument>

#include <algorithm>

namespace tessera {

namespace {
constexpr QChar kCrLf[] = {u'\r', u'\n'};

// Pieces are handed over at most this long, while the characters the
// visitor is about to read are still cached.
constexpr qsizetype kLongestPiece = qsizetype(1) << 15;
} // namespace

bool forEachTextPiece(const QTextDocument& document, const TextPieceVisitor& visit,
                      LineBreaks lineBreaks) {
  // The text in one piece, copied out of the document's own pieces in one
  // pass: fewer steps than asking every line for its text.
  const QString text = document.toRawText();
  const QChar* const begin = text.constData();
  const QChar* const end = begin + text.size();
  if (lineBreaks == LineBreaks::Separator) {
    for (const QChar* at = begin; at < end;) {
      const qsizetype size = std::min<qsizetype>(kLongestPiece, end - at);
      if (!visit(QStringView(at, size), end))
        return false;
      at += size;
    }
    return true;
  }
  const QStringView all(text);
  qsizetype from = 0;
  while (from < text.size()) {
    qsizetype stop = all.indexOf(QChar::ParagraphSeparator, from);
    const bool isBreak = stop >= 0;
    if (!isBreak)
      stop = text.size();
    for (qsizetype at = from; at < stop;) {
      const qsizetype size = std::min(kLongestPiece, stop - at);
      if (!visit(all.mid(at, size), end))
        return false;
      at += size;
    }
    if (isBreak && !visit(QStringView(kCrLf, 2), kCrLf + 2))
      return false;
    from = stop + 1;
  }
  return true;
}

} // namespace tessera
