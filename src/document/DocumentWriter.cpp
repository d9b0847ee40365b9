#include "document/DocumentWriter.h"

#include "document/DocumentPieces.h"
#include "document/PieceEncoder.h"

#include <QIODevice>
#include <QTextDocument>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace tessera {

namespace {
// Few enough writes that their fixed cost stays small (each one is a
// system call that may wait on the file system), small enough to keep.
constexpr qsizetype kChunk = qsizetype(1) << 20;

constexpr qsizetype kLeastRoom = 4096;

// Below this many characters a second thread costs more than it saves.
constexpr int kThreadFrom = 1 << 21;

bool fitsLatin1(QStringView text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}
} // namespace

TextEncoding encodingToWrite(const QTextDocument& document, TextEncoding loaded) {
  if (loaded != TextEncoding::Latin1)
    return TextEncoding::Utf8;
  const auto fits = [](QStringView piece, const QChar*) { return fitsLatin1(piece); };
  return forEachTextPiece(document, fits, LineBreaks::CrLf) ? TextEncoding::Latin1
                                                           : TextEncoding::Utf8;
}

namespace {

// Encodes pieces into the chunk and writes the chunk out whenever it fills.
class ChunkWriter {
public:
  ChunkWriter(TextEncoding encoding, QByteArray& chunk, QIODevice& out)
      : encoder_(encoding), begin_(chunk.data()), limit_(begin_ + chunk.size()), end_(begin_),
        out_(out) {}

  bool add(QStringView piece, const QChar* readable) {
    while (!piece.isEmpty()) {
      if (limit_ - end_ < kLeastRoom && !flush())
        return false;
      const qsizetype room = (limit_ - end_ - PieceEncoder::maxBytes(0)) / 3;
      const QStringView part = piece.first(std::min(room, piece.size()));
      end_ = encoder_.encode(part, end_, readable);
      piece = piece.sliced(part.size());
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

// Hands the pieces to a ChunkWriter on a thread of its own, so that encoding
// and writing one part of a large document overlap with walking the next.
// The document does not change meanwhile: its owner waits in the save.
class WriterThread {
public:
  explicit WriterThread(ChunkWriter& writer) : writer_(writer), thread_([this] { run(); }) {}
  WriterThread(const WriterThread&) = delete;
  WriterThread& operator=(const WriterThread&) = delete;
  ~WriterThread() { finish(false); }

  // False once writing has failed: the walk can stop.
  bool add(QStringView piece, const QChar* readable) {
    batch_.push_back({piece, readable});
    batchSize_ += piece.size();
    return (batchSize_ < kBatchCharacters && batch_.size() < kBatchPieces) || pass();
  }

  // Waits for everything handed over to be written; true when all was.
  bool finish(bool walked) {
    if (thread_.joinable()) {
      if (walked)
        pass();
      {
        const std::lock_guard lock(mutex_);
        done_ = true;
      }
      changed_.notify_all();
      thread_.join();
    }
    return walked && !failed_ && writer_.finish();
  }

private:
  struct Piece {
    QStringView text;
    const QChar* readable;
  };
  using Batch = std::vector<Piece>;
  static constexpr qsizetype kBatchCharacters = qsizetype(1) << 16;
  static constexpr size_t kBatchPieces = 2048;
  static constexpr size_t kMostWaiting = 4;

  bool pass() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.size() < kMostWaiting || failed_; });
    if (failed_)
      return false;
    waiting_.push_back(std::move(batch_));
    lock.unlock();
    changed_.notify_all();
    batch_ = Batch();
    batch_.reserve(kBatchPieces);
    batchSize_ = 0;
    return true;
  }

  void run() {
    for (;;) {
      Batch batch;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !waiting_.empty() || done_; });
        if (waiting_.empty())
          return;
        batch = std::move(waiting_.front());
        waiting_.pop_front();
      }
      changed_.notify_all();
      for (const Piece& piece : batch) {
        if (!writer_.add(piece.text, piece.readable)) {
          {
            const std::lock_guard lock(mutex_);
            failed_ = true;
          }
          changed_.notify_all();
          return;
        }
      }
    }
  }

  ChunkWriter& writer_;
  Batch batch_;
  qsizetype batchSize_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Batch> waiting_;
  bool done_ = false;
  bool failed_ = false; // written by the thread, read after it joined or under the lock
  std::thread thread_;
};

} // namespace

bool writeDocument(const QTextDocument& document, TextEncoding encoding, QIODevice& out) {
  // Kept from one save to the next: memory the system has to hand over
  // afresh costs more than encoding a megabyte into it.
  thread_local QByteArray chunk;
  if (chunk.size() != kChunk)
    chunk = QByteArray(kChunk, Qt::Uninitialized);
  ChunkWriter writer(encoding, chunk, out);
  if (document.characterCount() < kThreadFrom) {
    const auto add = [&](QStringView piece, const QChar* readable) {
      return writer.add(piece, readable);
    };
    return forEachTextPiece(document, add, LineBreaks::CrLf) && writer.finish();
  }
  WriterThread thread(writer);
  const auto add = [&](QStringView piece, const QChar* readable) {
    return thread.add(piece, readable);
  };
  const bool walked = forEachTextPiece(document, add, LineBreaks::CrLf);
  return thread.finish(walked);
}

} // namespace tessera
