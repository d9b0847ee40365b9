#pragma once

#include <QString>

namespace tessera {

// Gives the new file being written through `descriptor` the mode of the
// file at `path` it is about to replace (the target, when `path` is a
// symbolic link), and its owner and group when the program runs as root;
// nothing when there is no such file yet.
void keepOwnershipOf(const QString& path, int descriptor);

} // namespace tessera
