#pragma once

#include "editor/TextFormat.h"

#include <QByteArray>
#include <QString>

// How a document's text becomes bytes and back.
namespace tessera {

struct DecodedText {
  QString text; // every line break as CR LF
  TextEncoding encoding = TextEncoding::Utf8;
};

// UTF-8 when the bytes are valid UTF-8 and hold no character the editor
// uses for its own marks (U+2029, U+FDD0, U+FDD1) (a leading byte-order mark stays in
// the text, so it is written back), else Latin-1, which maps every byte to one character. Lone CR,
// lone LF and CR LF each become one CR LF. NUL bytes are kept.
DecodedText decodeDocument(const QByteArray& bytes);

// Lone CR, lone LF and CR LF each become CR LF.
QString normaliseLineBreaks(const QString& text);

// The text in the encoding it came in; a Latin-1 document that has gained
// characters Latin-1 cannot hold is written as UTF-8 rather than lose them.
QByteArray encodeDocument(const QString& text, TextEncoding encoding);

} // namespace tessera
