#pragma once

#include "document/TextEncoder.h"
#include "editor/FileEncoding.h"
#include "editor/TextFormat.h"

class QIODevice;
class QTextDocument;

namespace tessera {

class TextDocument;

// Writing the document's text: its pieces are encoded in one pass into a
// buffer of a megabyte (kept for the next save), written whenever it fills,
// so saving a large document needs no encoded copy of it in memory and no
// look-up per line.

// The text in `encoding` (its byte-order mark first, when it has one), each
// line break in the `breaks` style; a character the encoding cannot hold is
// left out or written as a character reference, as `unencodable` says.
// False when the device fails.
bool writeDocument(const QTextDocument& document, const FileEncoding& encoding,
                   LineBreakStyle breaks, QIODevice& out,
                   TextEncoder::Unencodable unencodable = TextEncoder::Unencodable::Count);
// The same from the document model, which hands over the copy of its text
// it still holds when it has one.
bool writeDocument(const TextDocument& document, const FileEncoding& encoding,
                   LineBreakStyle breaks, QIODevice& out,
                   TextEncoder::Unencodable unencodable = TextEncoder::Unencodable::Count);

// The characters of the document that `encoding` cannot hold (none, without
// a look at the text, for the Unicode forms).
UnencodableCharacters findUnencodable(const QTextDocument& document, const FileEncoding& encoding);
UnencodableCharacters findUnencodable(const TextDocument& document, const FileEncoding& encoding);

} // namespace tessera
