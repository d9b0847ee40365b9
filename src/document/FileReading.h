#pragma once

#include <QByteArray>
#include <QString>

namespace tessera {

// The bytes of a file the user asked to open, read so that no kind of file
// can hang the program or exhaust its memory: only a regular file is read
// (a FIFO, a device or /dev/null is refused, without waiting for a FIFO's
// writer), and a file that grows while being read is never read past
// `limit` bytes.
struct FileReadResult {
  enum Status { Read, CannotOpen, TooLarge };
  Status status = Read;
  QByteArray bytes; // when Read: at most `limit` bytes
  QString reason;   // when CannotOpen: the system's reason
};

FileReadResult readAtMost(const QString& path, qint64 limit);

} // namespace tessera
