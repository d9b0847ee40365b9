#pragma once

#include <QStringView>

#include <functional>

class QTextDocument;

namespace tessera {

// Hands the document's text to `visit` in order, as views of the characters
// the document already holds: nothing is copied and no line is looked up, so
// reading a large document out costs one pass over its text. A line break
// shows as U+2029 (the document's paragraph separator) or, when asked for,
// as CR LF; the separator that ends the last line is left out. Stops and
// returns false as soon as `visit` does. `readable` tells how far past the
// piece memory may be read (never used) by a loop that reads several
// characters at a time.
//
// Asking for CR LF is also the fast way to read a loaded text: the toolkit
// keeps each line's break apart from the line, but the CR LF the file had
// usually still follows the line where it was read in, so whole runs of
// lines come as one piece.
enum class LineBreaks { Separator, CrLf };
using TextPieceVisitor = std::function<bool(QStringView piece, const QChar* readable)>;
bool forEachTextPiece(const QTextDocument& document, const TextPieceVisitor& visit,
                      LineBreaks breaks = LineBreaks::Separator);

} // namespace tessera
