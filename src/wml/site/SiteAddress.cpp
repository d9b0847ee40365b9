#include "wml/site/SiteAddress.h"

#include "wml/script/Interpreter.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace tessera::wml::site {

namespace {

QString folderOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  return slash < 0 ? QString() : path.left(slash + 1);
}

} // namespace

LinkTarget resolveLink(const QString& fromPath, const QString& link) {
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
  LinkTarget target;
  if (link.contains(u'$') || scheme.match(link).hasMatch() || link.startsWith(QLatin1String("//")))
    return target; // Elsewhere
  const qsizetype hash = link.indexOf(u'#');
  QString path = hash < 0 ? link : link.left(hash);
  target.fragment = hash < 0 ? QString() : link.mid(hash + 1);
  if (const qsizetype query = path.indexOf(u'?'); query >= 0)
    path.truncate(query);
  if (path.isEmpty()) {
    target.kind = LinkTarget::Kind::SameDeck;
    return target;
  }
  path = QUrl::fromPercentEncoding(path.toUtf8());
  target.rootRelative = path.startsWith(u'/');
  const QString joined = target.rootRelative ? path : u'/' + folderOf(fromPath) + path;
  const QString clean = QDir::cleanPath(joined);
  // cleanPath keeps a ".." it cannot take away at the root.
  if (clean.startsWith(QLatin1String("/..")) || !clean.startsWith(u'/')) {
    target.kind = LinkTarget::Kind::Outside;
    return target;
  }
  target.kind = LinkTarget::Kind::InSite;
  target.path = clean.mid(1);
  return target;
}

QString localAddress(const QString& path) { return QStringLiteral("http://localhost/") + path; }

bool accessAllows(const std::optional<ScriptAccess>& access, const QString& scriptPath,
                  const QString& callerPath) {
  // The interpreter's own rule, with both files at their local addresses.
  return !access ||
         script::accessAllowed(access->domain, access->path, QUrl(localAddress(scriptPath)),
                               QUrl(localAddress(callerPath)));
}

} // namespace tessera::wml::site
