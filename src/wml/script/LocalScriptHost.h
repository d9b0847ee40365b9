#pragma once

#include "wml/script/ScriptHost.h"

#include <QDir>
#include <QMap>

namespace tessera::wml::script {

// A unit from a file: `.wmls` source is compiled, anything else is read as
// bytecode; either way verified. The error says why not.
LoadedUnit loadScriptFile(const QString& path);
LoadedUnit loadScriptBytes(const QByteArray& bytes, bool isSource);

// The script host of a run on this machine: the browser context is a map of
// variables, and units and texts come only from files in the folder of the
// unit that was started (or below it): a script cannot read the rest of
// the disk. `--run` uses it as it is; the preview adds its cards.
class LocalScriptHost : public ScriptHost {
public:
  explicit LocalScriptHost(const QDir& folder);

  QMap<QString, QString>& variables() { return variables_; }
  const QMap<QString, QString>& variables() const { return variables_; }

  QString variable(const QString& name) const override;
  void setVariable(const QString& name, const QString& value) override;
  void newContext() override;
  std::optional<QUrl> currentCard() const override { return currentCard_; }
  void setCurrentCard(const std::optional<QUrl>& card) { currentCard_ = card; }
  LoadedUnit loadUnit(const QUrl& url) override;
  LoadedText loadText(const QUrl& url, const QString& contentType) override;

  // The local file a URL names when it lies in the folder, else empty.
  QString localFile(const QUrl& url) const;

private:
  QDir folder_;
  QMap<QString, QString> variables_;
  std::optional<QUrl> currentCard_;
};

} // namespace tessera::wml::script
