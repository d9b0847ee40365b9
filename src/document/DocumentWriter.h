#pragma once

#include "document/FileCodec.h"

class QIODevice;
class QTextDocument;

namespace tessera {

// Writing the document's text: its pieces are encoded in one pass into a
// buffer of a megabyte (kept for the next save), written whenever it fills,
// so saving a large document needs no encoded copy of it in memory and no
// look-up per line.

// The encoding the text is written in: the one it came in, except that a
// Latin-1 document holding characters Latin-1 cannot hold becomes UTF-8.
TextEncoding encodingToWrite(const QTextDocument& document, TextEncoding loaded);

// The lines joined by CR LF, in `encoding`; false when the device fails.
bool writeDocument(const QTextDocument& document, TextEncoding encoding, QIODevice& out);

} // namespace tessera
