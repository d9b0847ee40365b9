#pragma once

#include "wml/script/BytecodeVerifier.h"

#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

namespace tessera::wml::script {

// A unit fetched for an external call, or why it could not be had.
struct LoadedUnit {
  std::shared_ptr<const VerifiedUnit> unit;
  QString error;
};

// URL.loadString's answer: the text, or the scheme's error code (HTTP
// status numbers for http and for files: 404 when missing, 403 when out of
// reach, 415 for another content type).
struct LoadedText {
  std::optional<QString> text;
  int errorCode = 404;
};

// What a running script reaches outside itself: the browser context of the
// WML user agent that called it (variables, current card, refresh), the
// loading of other units and of text. The preview and `--run` implement it;
// navigation requests stay with the interpreter and are read after the run
// (the last go or prev wins once the script has ended).
class ScriptHost {
public:
  virtual ~ScriptHost() = default;

  // False when no WML browser called the script: WMLBrowser answers invalid.
  virtual bool hasBrowser() const { return true; }
  virtual QString variable(const QString& name) const = 0;
  virtual void setVariable(const QString& name, const QString& value) = 0;
  // WMLBrowser.newContext: the variables and the history go.
  virtual void newContext() = 0;
  // The absolute address of the card being shown, if any.
  virtual std::optional<QUrl> currentCard() const = 0;
  // WMLBrowser.refresh: "" when done, else a short reason; nothing when the
  // host cannot refresh at once (the call answers invalid).
  virtual std::optional<QString> refresh() { return std::nullopt; }

  virtual LoadedUnit loadUnit(const QUrl& url) = 0;
  virtual LoadedText loadText(const QUrl& url, const QString& contentType) = 0;
};

} // namespace tessera::wml::script
