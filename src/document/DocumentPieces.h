#pragma once

#include <QStringView>

#include <functional>

class QTextDocument;

namespace tessera {

class TextDocument;

// Hands the document's text to `visit` in order, in pieces of at most a few
// ten thousand characters, as views of one copy of the text taken in one
// pass (no line is looked up). A line break shows as U+2029 (the document's
// paragraph separator) or, when asked for, as a CR LF piece of its own; the
// separator that ends the last line is left out. Stops and returns false as
// soon as `visit` does. `readable` tells how far past the piece memory may
// be read (never used) by a loop that reads several characters at a time.
// The views last only while `visit` runs.
enum class LineBreaks { Separator, CrLf };
using TextPieceVisitor = std::function<bool(QStringView piece, const QChar* readable)>;
bool forEachTextPiece(const QTextDocument& document, const TextPieceVisitor& visit,
                      LineBreaks breaks = LineBreaks::Separator);

// The same pieces from the document model: from the copy of the text it
// still holds for the present revision when there is one (no second copy
// is made), else from its toolkit document.
bool forEachTextPiece(const TextDocument& document, const TextPieceVisitor& visit,
                      LineBreaks breaks = LineBreaks::Separator);

} // namespace tessera
