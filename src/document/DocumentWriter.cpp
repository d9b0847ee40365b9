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

// Whether every character but the line breaks (which become CR LF) fits
// into Latin-1.
bool fitsLatin1(QStringView text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) {
    return c.unicode() <= 0xFF || c == QChar::ParagraphSeparator;
  });
}

// Encodes text into the chunk and writes the chunk out whenever it fills.
class ChunkWriter {
public:
  ChunkWriter(TextEncoding encoding, QByteArray& chunk, QIODevice& out)
      : encoder_(encoding), begin_(chunk.data()), limit_(begin_ + chunk.size()), end_(begin_),
        out_(out) {}

  bool add(QStringView text, const QChar* readable) {
    while (!text.isEmpty()) {
      if (limit_ - end_ < kLeastRoom && !flush())
        return false;
      const qsizetype room = (limit_ - end_ - PieceEncoder::maxBytes(0)) / 3;
      const QStringView part = text.first(std::min(room, text.size()));
      end_ = encoder_.encode(part, end_, readable);
      text = text.sliced(part.size());
    }
    return true;
  }

  bool finish() {
    end_ = encoder_.finish(end_);
    return flush();
  }

private:
  bool flush() {
    const qint64 size = end_ - begin_;
    end_ = begin_;
    return size == 0 || out_.write(begin_, size) == size;
  }

  PieceEncoder encoder_;
  char* const begin_;
  char* const limit_;
  char* end_;
  QIODevice& out_;
};

} // namespace

TextEncoding encodingToWrite(const QTextDocument& document, TextEncoding loaded) {
  if (loaded != TextEncoding::Latin1)
    return TextEncoding::Utf8;
  const auto fits = [](QStringView piece, const QChar*) { return fitsLatin1(piece); };
  return forEachTextPiece(document, fits) ? TextEncoding::Latin1 : TextEncoding::Utf8;
}

bool writeDocument(const QTextDocument& document, TextEncoding encoding, QIODevice& out) {
  // Kept from one save to the next: memory the system has to hand over
  // afresh costs more than encoding a megabyte into it.
  thread_local QByteArray chunk;
  if (chunk.size() != kChunk)
    chunk = QByteArray(kChunk, Qt::Uninitialized);
  ChunkWriter writer(encoding, chunk, out);
  // Line breaks come as separators, which the encoder writes as CR LF.
  const auto add = [&](QStringView piece, const QChar* readable) {
    return writer.add(piece, readable);
  };
  return forEachTextPiece(document, add) && writer.finish();
}

} // namespace tessera
