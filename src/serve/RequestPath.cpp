#include "serve/RequestPath.h"

namespace tessera::serve {
namespace {

bool plainName(const QString& segment) {
  return !segment.isEmpty() && !segment.startsWith(u'.') && !segment.contains(u'\\') &&
         !segment.contains(QChar(0));
}

} // namespace

RequestPath parseRequestPath(const QString& decodedPath) {
  RequestPath result;
  if (!decodedPath.startsWith(u'/'))
    return result;
  result.endsWithSlash = decodedPath.size() > 1 && decodedPath.endsWith(u'/');
  QStringView rest = QStringView(decodedPath).mid(1);
  if (result.endsWithSlash)
    rest.chop(1);
  result.verdict = RequestPath::Verdict::Ok;
  if (rest.isEmpty())
    return result;
  for (QStringView segment : rest.split(u'/')) {
    if (!plainName(segment.toString())) {
      result.verdict = RequestPath::Verdict::Refused;
      result.segments.clear();
      return result;
    }
    result.segments.append(segment.toString());
  }
  return result;
}

bool isServable(const QString& canonicalRoot, const QString& canonicalPath) {
  if (canonicalRoot.isEmpty() || canonicalPath.isEmpty())
    return false;
  if (canonicalPath == canonicalRoot)
    return true;
  const QString root = canonicalRoot.endsWith(u'/') ? canonicalRoot : canonicalRoot + u'/';
  if (!canonicalPath.startsWith(root))
    return false;
  const QStringList below = canonicalPath.mid(root.size()).split(u'/');
  for (const QString& name : below)
    if (!plainName(name))
      return false;
  return true;
}

} // namespace tessera::serve
