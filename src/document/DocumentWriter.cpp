#include "document/DocumentWriter.h"

#include "document/DocumentPieces.h"
#include "document/PieceEncoder.h"

#include <QIODevice>
#include <QTextDocument>

#include <algorithm>
#include <functional>

namespace tessera {

namespace {
// Few enough writes that their fixed cost stays small (each one is a
// system call that may wait on the file system), small enough to keep.
constexpr qsizetype kChunk = qsizetype(1) << 20;

constexpr qsizetype kLeastRoom = 4096;

constexpr char16_t kSeparator = 0x2029;

// UTF-8, the encoding of nearly every deck, is encoded straight into the
// chunk by the hand-made encoder, sixteen ASCII characters at a time.
class Utf8ChunkWriter {
public:
  Utf8ChunkWriter(LineBreakStyle breaks, QByteArray& chunk, QIODevice& out)
      : encoder_(TextEncoding::Utf8, breaks), begin_(chunk.data()), limit_(begin_ + chunk.size()),
        end_(begin_), out_(out) {}

  void addByteOrderMark() { end_ = std::copy_n("\xEF\xBB\xBF", 3, end_); }

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

// Every other encoding goes through the text encoder, which appends to the
// chunk; the chunk is written out whenever it holds a megabyte.
class EncoderChunkWriter {
public:
  EncoderChunkWriter(TextEncoder& encoder, QByteArray& chunk, QIODevice& out)
      : encoder_(encoder), chunk_(chunk), out_(out) {
    chunk_.resize(0);
    encoder_.start(chunk_);
  }

  bool add(QStringView text) {
    // The toolkit's paragraph separators are the line breaks.
    for (qsizetype at = text.indexOf(QChar(kSeparator)); at >= 0;
         at = text.indexOf(QChar(kSeparator))) {
      encoder_.append(text.first(at), chunk_);
      encoder_.appendLineBreak(chunk_);
      text = text.sliced(at + 1);
    }
    encoder_.append(text, chunk_);
    return chunk_.size() < kChunk || flush();
  }

  bool finish() {
    encoder_.finish(chunk_);
    return flush();
  }

private:
  bool flush() {
    const qint64 size = chunk_.size();
    const bool written = size == 0 || out_.write(chunk_.constData(), size) == size;
    chunk_.resize(0);
    return written;
  }

  TextEncoder& encoder_;
  QByteArray& chunk_;
  QIODevice& out_;
};

// The document's pieces, from wherever they come.
using PieceSource = std::function<bool(const TextPieceVisitor&, LineBreaks)>;

bool writePieces(const PieceSource& forEachPiece, const FileEncoding& encoding,
                 LineBreakStyle breaks, QIODevice& out, TextEncoder::Unencodable unencodable) {
  // Kept from one save to the next: memory the system has to hand over
  // afresh costs more than encoding a megabyte into it.
  if (encoding.kind == FileEncoding::Kind::Utf8) {
    thread_local QByteArray chunk;
    if (chunk.size() != kChunk)
      chunk = QByteArray(kChunk, Qt::Uninitialized);
    Utf8ChunkWriter writer(breaks, chunk, out);
    if (encoding.byteOrderMark)
      writer.addByteOrderMark();
    const auto add = [&](QStringView piece, const QChar* readable) {
      return writer.add(piece, readable);
    };
    return forEachPiece(add, LineBreaks::Separator) && writer.finish();
  }
  thread_local QByteArray chunk;
  TextEncoder encoder(encoding, breaks, unencodable);
  // A piece (at most a few ten thousand characters) may follow a nearly
  // full chunk: room for it is kept, so the chunk is never moved.
  chunk.reserve(2 * kChunk);
  EncoderChunkWriter writer(encoder, chunk, out);
  const auto add = [&](QStringView piece, const QChar*) { return writer.add(piece); };
  return forEachPiece(add, LineBreaks::Separator) && writer.finish();
}

UnencodableCharacters findUnencodableIn(const PieceSource& forEachPiece,
                                        const FileEncoding& encoding) {
  if (encoding.holdsEveryCharacter())
    return {};
  TextEncoder encoder(encoding, LineBreakStyle::CrLf);
  QByteArray scratch;
  // Line breaks come as CR LF, which every offered charset holds.
  forEachPiece(
      [&](QStringView piece, const QChar*) {
        scratch.resize(0);
        encoder.append(piece, scratch);
        return true;
      },
      LineBreaks::CrLf);
  scratch.resize(0);
  encoder.finish(scratch);
  return encoder.unencodable();
}

template <typename Document> PieceSource piecesOf(const Document& document) {
  return [&document](const TextPieceVisitor& visit, LineBreaks breaks) {
    return forEachTextPiece(document, visit, breaks);
  };
}

} // namespace

bool writeDocument(const QTextDocument& document, const FileEncoding& encoding,
                   LineBreakStyle breaks, QIODevice& out, TextEncoder::Unencodable unencodable) {
  return writePieces(piecesOf(document), encoding, breaks, out, unencodable);
}

bool writeDocument(const TextDocument& document, const FileEncoding& encoding,
                   LineBreakStyle breaks, QIODevice& out, TextEncoder::Unencodable unencodable) {
  return writePieces(piecesOf(document), encoding, breaks, out, unencodable);
}

UnencodableCharacters findUnencodable(const QTextDocument& document, const FileEncoding& encoding) {
  return findUnencodableIn(piecesOf(document), encoding);
}

UnencodableCharacters findUnencodable(const TextDocument& document, const FileEncoding& encoding) {
  return findUnencodableIn(piecesOf(document), encoding);
}

} // namespace tessera
