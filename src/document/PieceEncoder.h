#pragma once

#include "document/FileCodec.h"

#include <QStringView>

namespace tessera {

// Encodes the document's text piece by piece into bytes as a file holds
// them: the paragraph separator U+2029 becomes CR LF (or LF, when that is
// the file's style), other characters go
// into UTF-8 or Latin-1 exactly as QString::toUtf8() / toLatin1() would
// write them (a lone surrogate or a character Latin-1 cannot hold becomes
// '?'). A surrogate pair split between two pieces is still one character.
class PieceEncoder {
public:
  explicit PieceEncoder(TextEncoding encoding, LineBreakStyle breaks = LineBreakStyle::CrLf)
      : latin1_(encoding == TextEncoding::Latin1), lf_(breaks == LineBreakStyle::Lf) {}

  // Room `encode` may need for `characters` characters.
  static constexpr qsizetype maxBytes(qsizetype characters) { return 3 * characters + 16; }

  // Writes `text` at `out`, which has room for maxBytes(text.size());
  // returns the end of what was written. Characters up to `readable` (when
  // past the text's end) may be read, never used, to take short texts
  // sixteen characters at a time.
  char* encode(QStringView text, char* out, const QChar* readable = nullptr);
  // Writes what is still held back (an unpaired high surrogate at the end).
  char* finish(char* out);

private:
  char* encodeSlow(char16_t c, const char16_t*& next, const char16_t* end, char* out);

  bool latin1_;
  bool lf_;
  char16_t pendingHigh_ = 0;
};

} // namespace tessera
