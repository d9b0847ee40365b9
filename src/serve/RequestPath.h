#pragma once

#include <QString>
#include <QStringList>

namespace tessera::serve {

// What the path of a request (already percent-decoded) names inside the
// served folder, judged from its text alone before any file is touched.
struct RequestPath {
  enum class Verdict {
    Ok,        // `segments` name a place inside the folder
    Malformed, // not a path starting with '/'
    Refused,   // climbs out, names a hidden file, or holds a character no name may
  };
  Verdict verdict = Verdict::Malformed;
  QStringList segments;       // the names from the folder down; none for the folder itself
  bool endsWithSlash = false; // "/a/" asks for a folder
};

// Splits a decoded request path: every segment is a plain name (no "." or
// "..", nothing starting with '.', no '\\' or NUL, no empty segment between
// slashes), so that joining the segments under the folder stays inside it.
RequestPath parseRequestPath(const QString& decodedPath);

// Whether `canonicalPath` lies inside `canonicalRoot` (or is it) and no
// name on the way down is hidden: the check after symbolic links are
// resolved. Both paths are canonical (absolute, links resolved).
bool isServable(const QString& canonicalRoot, const QString& canonicalPath);

} // namespace tessera::serve
