#include "document/DocumentPieces.h"

#include "editor/TextDocument.h"

#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace tessera {

namespace {
constexpr QChar kCrLf[] = {u'\r', u'\n'};

// Pieces are handed over at most this long, while the characters the
// visitor is about to read are still cached.
constexpr qsizetype kLongestPiece = qsizetype(1) << 15;

// The text between its line breaks (`lineBreak`), each break handed over
// as a CR LF piece of its own.
bool visitWithCrLf(QStringView all, QChar lineBreak, const TextPieceVisitor& visit) {
  const QChar* const end = all.data() + all.size();
  qsizetype from = 0;
  while (from < all.size()) {
    qsizetype stop = all.indexOf(lineBreak, from);
    const bool isBreak = stop >= 0;
    if (!isBreak)
      stop = all.size();
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

// Pieces of a text whose line breaks are paragraph separators.
bool visitRawText(const QString& text, const TextPieceVisitor& visit, LineBreaks lineBreaks) {
  if (lineBreaks == LineBreaks::CrLf)
    return visitWithCrLf(text, QChar::ParagraphSeparator, visit);
  const QChar* const begin = text.constData();
  const QChar* const end = begin + text.size();
  for (const QChar* at = begin; at < end;) {
    const qsizetype size = std::min<qsizetype>(kLongestPiece, end - at);
    if (!visit(QStringView(at, size), end))
      return false;
    at += size;
  }
  return true;
}

// Pieces of a text whose line breaks are '\n', handed over as if read from
// the document: with separators, each piece is a copy made in a buffer that
// stays cached; with CR LF, views of the text between the breaks.
bool visitHeldText(const QString& text, const TextPieceVisitor& visit, LineBreaks lineBreaks) {
  const QStringView all(text);
  if (lineBreaks == LineBreaks::CrLf)
    return visitWithCrLf(all, QLatin1Char('\n'), visit);
  thread_local std::vector<char16_t> buffer;
  buffer.resize(kLongestPiece);
  const char16_t* in = all.utf16();
  for (qsizetype at = 0; at < all.size();) {
    const qsizetype size = std::min(kLongestPiece, all.size() - at);
    std::transform(in + at, in + at + size, buffer.data(),
                   [](char16_t c) { return c == u'\n' ? char16_t(QChar::ParagraphSeparator) : c; });
    const auto* piece = reinterpret_cast<const QChar*>(buffer.data());
    if (!visit(QStringView(piece, size), piece + buffer.size()))
      return false;
    at += size;
  }
  return true;
}

} // namespace

bool forEachTextPiece(const QTextDocument& document, const TextPieceVisitor& visit,
                      LineBreaks lineBreaks) {
  // The text in one piece, copied out of the document's own pieces in one
  // pass: fewer steps than asking every line for its text.
  return visitRawText(document.toRawText(), visit, lineBreaks);
}

bool forEachTextPiece(const TextDocument& document, const TextPieceVisitor& visit,
                      LineBreaks lineBreaks) {
  const QString held = document.heldText();
  if (!held.isNull())
    return visitHeldText(held, visit, lineBreaks);
  return forEachTextPiece(*document.qtDocument(), visit, lineBreaks);
}

} // namespace tessera
