#pragma once

#include <QByteArray>
#include <QString>

namespace tessera {

// The bytes of a file the user asked to open, read so that no kind of file
// can hang the program or exhaust its memory: a FIFO without a writer is
// refused instead of waiting for one, and a device or a file that grows
// while being read is never read past `limit` bytes.
struct FileReadResult {
  enum Status { Read, CannotOpen, TooLarge };
  Status status = Read;
  QByteArray bytes; // when Read: at most `limit` bytes
  QString reason;   // when CannotOpen: the system's reason
};

FileReadResult readAtMost(const QString& path, qint64 limit);

} // namespace tessera
