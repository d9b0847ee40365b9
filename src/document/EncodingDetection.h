#pragma once

#include "editor/FileEncoding.h"
#include "editor/TextFormat.h"

#include <QByteArray>
#include <QString>

namespace tessera {

// A file's bytes as the editor's text, with what saving needs to write the
// same bytes back.
struct DecodedFile {
  // Why the lossless single-byte reading was taken instead of the one the
  // file's bytes or declaration point to.
  enum class Fallback {
    None,
    InvalidUtf8,         // no byte-order mark or declaration, and not valid UTF-8
    InvalidForSignature, // the encoding of the byte-order mark or first bytes does not read them
                         // back
    UnknownDeclaration,  // the declared charset has no converter here
    InvalidForDeclared,  // the declared charset does not read the bytes back
    Windows1252Bytes,    // declared ISO-8859-1, with bytes 0x80-0x9F that only windows-1252 reads
    InvalidForChosen,    // the charset the user chose does not read the bytes back
    ReservedCharacter,   // a character the editor turns into a line break
  };

  QString text; // every line break as CR LF
  FileEncoding encoding;
  LineBreakStyle lineBreaks = LineBreakStyle::CrLf;
  bool mixedLineBreaks = false; // lone CRs or several kinds: saved as CR LF
  Fallback fallback = Fallback::None;
  // What the byte-order mark, the declaration or the user named, for the notice.
  QString namedEncoding;
  char16_t reservedCharacter = 0; // the one found, with ReservedCharacter

  // What the user should be told on opening the file; empty when the
  // program neither guessed nor changes anything.
  QString notice() const;
};

// Reads the bytes as their byte-order mark, their first characters, their
// XML declaration or their validity as UTF-8 say, in that order, taking the
// first reading that gives back the exact bytes when encoded again; else
// windows-1252 with its unassigned bytes as C1 controls, which always does.
DecodedFile decodeFile(const QByteArray& bytes);

// The text as decodeFile reads it, for the language tools: line breaks as
// written (every tool counts LF, CR LF and a lone CR alike) and the
// editor's reserved characters kept, where decodeFile would fall back.
QString decodeSourceText(const QByteArray& bytes);

// Reads the bytes in the encoding the user chose (a byte-order mark of
// that encoding is taken as one), falling back as above when it does not
// give back the exact bytes.
DecodedFile decodeFileAs(const QByteArray& bytes, const FileEncoding& chosen);

} // namespace tessera
