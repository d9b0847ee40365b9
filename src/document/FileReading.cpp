#include "document/FileReading.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessera {

namespace {

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

FileReadResult cannotOpen(const QString& reason) {
  FileReadResult result;
  result.status = FileReadResult::CannotOpen;
  result.reason = reason;
  return result;
}

// Closes the descriptor on every way out.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0)
      ::close(fd);
  }
};

} // namespace

FileReadResult readAtMost(const QString& path, qint64 limit) {
  // Non-blocking, so that opening a FIFO never waits for a writer; the type
  // is then checked on the open descriptor, not on a name that may change.
  const Descriptor file{
      ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
  if (file.fd < 0)
    return cannotOpen(systemReason(errno));
  struct stat info {};
  if (::fstat(file.fd, &info) != 0)
    return cannotOpen(systemReason(errno));
  if (S_ISDIR(info.st_mode))
    return cannotOpen(systemReason(EISDIR));
  // A device, a pipe or a socket is no document: /dev/null would open as an
  // empty one and saving would write into the device.
  if (!S_ISREG(info.st_mode))
    return cannotOpen(QStringLiteral("Not a regular file"));
  // Reads of a regular file must block normally (network file systems).
  const int flags = ::fcntl(file.fd, F_GETFL);
  if (flags >= 0)
    ::fcntl(file.fd, F_SETFL, flags & ~O_NONBLOCK);

  FileReadResult result;
  if (info.st_size > limit) {
    result.status = FileReadResult::TooLarge;
    return result;
  }
  // Read in chunks up to one byte past the limit, so a file that grows
  // while being read is recognised without holding more than the limit.
  const qint64 stop = limit + 1;
  result.bytes.reserve(qMin<qint64>(info.st_size, stop));
  constexpr qint64 kChunk = 1 << 16;
  while (result.bytes.size() < stop) {
    const qint64 want = qMin<qint64>(kChunk, stop - result.bytes.size());
    const qsizetype had = result.bytes.size();
    result.bytes.resize(had + want);
    const ssize_t got = ::read(file.fd, result.bytes.data() + had, size_t(want));
    if (got < 0) {
      if (errno == EINTR) {
        result.bytes.resize(had);
        continue;
      }
      return cannotOpen(systemReason(errno));
    }
    result.bytes.resize(had + got);
    if (got == 0)
      break;
  }
  if (result.bytes.size() > limit) {
    result.bytes = QByteArray();
    result.status = FileReadResult::TooLarge;
  }
  return result;
}

} // namespace tessera
