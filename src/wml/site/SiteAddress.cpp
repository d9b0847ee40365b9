#include "wml/site/SiteAddress.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace tessera::wml::site {

namespace {

QString folderOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  return slash < 0 ? QString() : path.left(slash + 1);
}

// "/a/b" against "/a/b/c.wml" and "/a/b", not "/a/bc".
bool pathPrefixMatches(const QString& prefix, const QString& path) {
  if (prefix.isEmpty() || prefix == QLatin1String("/"))
    return true;
  const QString trimmed = prefix.endsWith(u'/') ? prefix.chopped(1) : prefix;
  return path == trimmed || path.startsWith(trimmed + u'/');
}

bool domainSuffixMatches(const QString& domain, const QString& host) {
  const QStringList wanted = domain.toLower().split(u'.', Qt::SkipEmptyParts);
  const QStringList labels = host.toLower().split(u'.', Qt::SkipEmptyParts);
  if (wanted.isEmpty() || wanted.size() > labels.size())
    return wanted.isEmpty();
  return std::equal(wanted.rbegin(), wanted.rend(), labels.rbegin());
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
  if (!access)
    return true;
  const QUrl caller(localAddress(callerPath));
  const QString domain = access->domain.value_or(QStringLiteral("localhost"));
  if (!domainSuffixMatches(domain, caller.host()))
    return false;
  QString path = access->path.value_or(QStringLiteral("/"));
  if (!path.startsWith(u'/'))
    path = QDir::cleanPath(u'/' + folderOf(scriptPath) + path);
  return pathPrefixMatches(path, caller.path());
}

} // namespace tessera::wml::site
