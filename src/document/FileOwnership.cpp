#include "document/FileOwnership.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace tessera {

void keepOwnershipOf(const QString& path, int descriptor) {
  struct stat old {};
  if (descriptor < 0 || ::stat(QFile::encodeName(path).constData(), &old) != 0 ||
      !S_ISREG(old.st_mode))
    return;
  // Owner first: changing it may clear the set-user-ID bits the mode sets.
  // Only root may give a file away; anyone else's new file stays theirs.
  if (::geteuid() == 0 && ::fchown(descriptor, old.st_uid, old.st_gid) != 0) {
    // The mode is still worth keeping.
  }
  if (::fchmod(descriptor, old.st_mode & 07777) != 0) {
    // The write goes on with the mode a new file gets.
  }
}

} // namespace tessera
