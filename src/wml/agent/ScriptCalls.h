#pragma once

#include "wml/agent/WmlVariables.h"
#include "wml/script/Interpreter.h"
#include "wml/script/LocalScriptHost.h"

#include <QDir>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

namespace tessera::wml::agent {

// A deck's files seen as a site at http://localhost/: the address a script
// and its `use access` pragma see for a local deck or unit.
QUrl siteUrl(const QDir& root, const QString& path);
// The file a site address names, empty when it is not on this site or
// lies outside the folder.
QString siteFile(const QDir& root, const QUrl& url);

// How the preview gets a unit by its file path: the edited script's unsaved
// text, or the file (a compiled unit from elsewhere checked out of process
// first). loadScriptFile when none is given.
using ScriptLoader = std::function<script::LoadedUnit(const QString& path)>;

// The browser context a script of the preview reaches: the user agent's
// variables, its current card and its site's files. newContext is handed
// back to the agent, which alone knows its history.
class AgentScriptHost : public script::LocalScriptHost {
public:
  AgentScriptHost(const QDir& root, WmlVariables& variables, QUrl currentCard, ScriptLoader loader,
                  std::function<void()> newContext);

  QString variable(const QString& name) const override;
  void setVariable(const QString& name, const QString& value) override;
  void newContext() override;
  std::optional<QUrl> currentCard() const override { return currentCard_; }
  script::LoadedUnit loadUnit(const QUrl& url) override;
  script::LoadedText loadText(const QUrl& url, const QString& contentType) override;

private:
  QDir root_;
  WmlVariables& variables_;
  QUrl currentCard_;
  ScriptLoader loader_;
  std::function<void()> newContext_;
};

// One call of a script function from a card: its host and machine, and
// what the error screen names.
struct ScriptRun {
  ScriptRun(const QDir& root, WmlVariables& variables, const QUrl& currentCard,
            const ScriptLoader& loader, std::function<void()> newContext)
      : host(root, variables, currentCard, loader, std::move(newContext)), machine(host) {}

  AgentScriptHost host;
  script::Interpreter machine;
  QString label; // "calc.wmls#total", as the deck wrote it
};

} // namespace tessera::wml::agent
