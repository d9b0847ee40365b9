#include "wml/script/LocalScriptHost.h"

#include "wml/script/BytecodeVerifier.h"
#include "wml/script/ScriptCompiler.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStringDecoder>

namespace tessera::wml::script {

namespace {

// A unit or a text larger than this is no phone's.
constexpr qint64 kFileLimit = 16 * 1024 * 1024;

} // namespace

LoadedUnit loadScriptBytes(const QByteArray& bytes, bool isSource) {
  LoadedUnit loaded;
  QByteArray bytecode = bytes;
  if (isSource) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
      text = QString::fromLatin1(bytes);
    const ScriptCompileResult compiled = compileScript(text);
    if (!compiled.ok()) {
      loaded.error = firstErrorText(compiled.findings);
      if (loaded.error.isEmpty())
        loaded.error = QStringLiteral("the unit does not compile");
      return loaded;
    }
    bytecode = compiled.bytecode;
  }
  VerifyResult verified = loadBytecode(bytecode);
  if (!verified.unit) {
    loaded.error = QStringLiteral("not valid bytecode: ") + verified.error;
    return loaded;
  }
  loaded.unit = std::move(verified.unit);
  return loaded;
}

LoadedUnit loadScriptFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    LoadedUnit loaded;
    loaded.error = file.errorString();
    return loaded;
  }
  if (file.size() > kFileLimit) {
    LoadedUnit loaded;
    loaded.error = QStringLiteral("the file is too large");
    return loaded;
  }
  return loadScriptBytes(file.readAll(),
                         path.endsWith(QLatin1String(".wmls"), Qt::CaseInsensitive));
}

LocalScriptHost::LocalScriptHost(const QDir& folder) : folder_(folder) {}

QString LocalScriptHost::variable(const QString& name) const { return variables_.value(name); }

void LocalScriptHost::setVariable(const QString& name, const QString& value) {
  variables_.insert(name, value);
}

void LocalScriptHost::newContext() { variables_.clear(); }

QString LocalScriptHost::localFile(const QUrl& url) const {
  if (!url.isLocalFile())
    return {};
  const QString path = QFileInfo(url.toLocalFile()).absoluteFilePath();
  const QString root = folder_.absolutePath();
  const QString canonicalPath = QFileInfo(path).canonicalFilePath();
  const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
  // Links are followed before the check, so one cannot lead outside.
  const QString checked = canonicalPath.isEmpty() ? QDir::cleanPath(path) : canonicalPath;
  const QString base = canonicalRoot.isEmpty() ? QDir::cleanPath(root) : canonicalRoot;
  if (!checked.startsWith(base + u'/'))
    return {};
  return checked;
}

LoadedUnit LocalScriptHost::loadUnit(const QUrl& url) {
  const QString path = localFile(url);
  if (path.isEmpty()) {
    LoadedUnit loaded;
    loaded.error = QStringLiteral("only units in the deck's folder can be loaded");
    return loaded;
  }
  return loadScriptFile(path);
}

LoadedText LocalScriptHost::loadText(const QUrl& url, const QString& contentType) {
  LoadedText loaded;
  const QString path = localFile(url);
  if (path.isEmpty()) {
    loaded.errorCode = url.isLocalFile() ? 403 : 404;
    return loaded;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    loaded.errorCode = QFileInfo::exists(path) ? 403 : 404;
    return loaded;
  }
  const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
  if (type.name() != contentType && !type.aliases().contains(contentType)) {
    loaded.errorCode = 415; // another content type
    return loaded;
  }
  if (file.size() > kFileLimit) {
    loaded.errorCode = 413;
    return loaded;
  }
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(file.readAll());
  loaded.text = std::move(text);
  return loaded;
}

} // namespace tessera::wml::script
