#pragma once

#include "wml/Finding.h"
#include "wml/script/ScriptCompiler.h"
#include "wml/script/ScriptHost.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace tessera::wml::script {

// A call of a script function written in a URL's fragment, as a deck
// writes it: `calc.wmls#total(1, -2.5, 'text', $(n))`.
struct ScriptCall {
  QString function;
  int argumentCount = 0;
  // Empty when the fragment is a call; else what is wrong with it.
  QString error;
};

// Reads a fragment (already unescaped) by the URL call syntax (the
// interpreter's parseUrlCall): a function name and literal arguments. A
// WML variable reference stands where an argument or a part of a string
// may be: the browser puts its value there first.
ScriptCall parseScriptCall(QStringView fragment);

struct ScriptCallProblem {
  Severity severity = Severity::Error;
  QString rule;
  QString message;
};

// What is wrong with a deck's call `fragment` (URL-escaped, as written) of
// the script in the file `scriptPath` (a ".wmls" beside the deck that
// exists): a call that cannot be read, a unit that does not compile, no
// extern function of that name, or another number of arguments. Nothing
// when the call fits.
std::optional<ScriptCallProblem> checkScriptCall(const QString& scriptPath,
                                                 const QString& escapedFragment);

// How a compiled unit (".wmlsc") a deck calls is read for the check: the
// program reads it in a child process first, as it reads a compiled deck,
// so a hostile file cannot bring down the checker. Until one is set, such
// a call is checked only for its syntax (and the file for existing).
using CompiledUnitReader = std::function<LoadedUnit(const QString& path)>;
void setCompiledUnitReader(CompiledUnitReader reader);

// The same check for a unit already read: `name` as the message names it
// and the extern functions it offers.
std::optional<ScriptCallProblem> checkCallOf(const QString& name,
                                             const QList<ExternFunction>& externs,
                                             const QString& escapedFragment);

// A call of a unit that does not compile, by its first error.
ScriptCallProblem doesNotCompile(const QString& name, const Finding& firstError);

} // namespace tessera::wml::script
