#include "document/DocumentWriter.h"

#include "document/DocumentPieces.h"
#include "document/PieceEncoder.h"

#include <QIODevice>
#include <QTextDocument>

#include <algorithm>

namespace tessera {

namespace {
// Few enough writes that their fixed cost stays small (each one is a
// system call that may wait on the file system), small enough to keep.
constexpr qsizetype kChunk = qsizetype(1) << 20;

constexpr qsizetype kLeastRoom = 4096;

// The paragraph separators (U+2029) stand for line breaks, which fit.
bool fitsLatin1(QStringView text) {
  return std::all_of(text.begin(), text.end(),
                     [](QChar c) { return c.unicode() <= 0xFF || c.unicode() == 0x2029; });
}
} // namespace

TextEncoding encodingToWrite(const QTextDocument& document, TextEncoding loaded) {
  if (loaded != TextEncoding::Latin1)
    return TextEncoding::Utf8;
  const auto fits = [](QStringView piece, const QChar*) { return fitsLatin1(piece); };
  return forEachTextPiece(document, fits) ? TextEncoding::Latin1 : TextEncoding::Utf8;
}

bool writeDocument(const QTextDocument& document, TextEncoding encoding, QIODevice& out) {
  PieceEncoder encoder(encoding);
  // Kept from one save to the next: memory the system has to hand over
  // afresh costs more than encoding a megabyte into it.
  thread_local QByteArray chunk;
  if (chunk.size() != kChunk)
    chunk = QByteArray(kChunk, Qt::Uninitialized);
  char* const begin = chunk.data();
  char* const limit = begin + kChunk;
  char* end = begin;
  const auto flush = [&] {
    const qint64 size = end - begin;
    end = begin;
    return size == 0 || out.write(begin, size) == size;
  };
  const bool written = forEachTextPiece(document, [&](QStringView piece, const QChar* readable) {
    // A line break is a piece of its own after every line.
    if (piece.size() == 1 && piece.front().unicode() == 0x2029 && !encoder.holdsBack() &&
        limit - end >= kLeastRoom) {
      *end++ = '\r';
      *end++ = '\n';
      return true;
    }
    while (!piece.isEmpty()) {
      if (limit - end < kLeastRoom && !flush())
        return false;
      const qsizetype room = (limit - end - PieceEncoder::maxBytes(0)) / 3;
      const QStringView part = piece.first(std::min(room, piece.size()));
      end = encoder.encode(part, end, readable);
      piece = piece.sliced(part.size());
    }
    return true;
  });
  if (!written)
    return false;
  end = encoder.finish(end);
  return flush();
}

} // namespace tessera
