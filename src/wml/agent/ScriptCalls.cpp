#include "wml/agent/ScriptCalls.h"

#include <QFileInfo>

namespace tessera::wml::agent {

QUrl siteUrl(const QDir& root, const QString& path) {
  QUrl url(QStringLiteral("http://localhost/"));
  return url.resolved(QUrl(QString::fromUtf8(
      QUrl::toPercentEncoding(root.relativeFilePath(QFileInfo(path).absoluteFilePath()), "/"))));
}

QString siteFile(const QDir& root, const QUrl& url) {
  if (url.scheme() != QLatin1String("http") || url.host() != QLatin1String("localhost"))
    return {};
  const QString path = QDir::cleanPath(root.absoluteFilePath(url.path().mid(1)));
  if (!path.startsWith(QDir::cleanPath(root.absolutePath()) + u'/'))
    return {};
  return path;
}

AgentScriptHost::AgentScriptHost(const QDir& root, WmlVariables& variables, QUrl currentCard,
                                 ScriptLoader loader, std::function<void()> newContext)
    : LocalScriptHost(root), root_(root), variables_(variables),
      currentCard_(std::move(currentCard)), loader_(std::move(loader)),
      newContext_(std::move(newContext)) {}

QString AgentScriptHost::variable(const QString& name) const { return variables_.value(name); }

void AgentScriptHost::setVariable(const QString& name, const QString& value) {
  variables_.set(name, value);
}

void AgentScriptHost::newContext() {
  if (newContext_)
    newContext_();
}

// The site's addresses become the folder's files; LocalScriptHost then
// keeps them inside it (symbolic links included).
script::LoadedUnit AgentScriptHost::loadUnit(const QUrl& url) {
  const QString file = siteFile(root_, url);
  if (file.isEmpty() || localFile(QUrl::fromLocalFile(file)).isEmpty()) {
    script::LoadedUnit refused;
    refused.error = QStringLiteral("only units in the deck's folder can be loaded");
    return refused;
  }
  return loader_ ? loader_(file) : script::loadScriptFile(file);
}

script::LoadedText AgentScriptHost::loadText(const QUrl& url, const QString& contentType) {
  const QString file = siteFile(root_, url);
  if (file.isEmpty()) {
    script::LoadedText refused;
    refused.errorCode = 404;
    return refused;
  }
  return LocalScriptHost::loadText(QUrl::fromLocalFile(file), contentType);
}

} // namespace tessera::wml::agent
