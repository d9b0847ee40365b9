#pragma once

#include "wml/Finding.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessera::wml::script {

// A function other units and decks may call (`unit.wmls#name(...)`).
struct ExternFunction {
  QString name;
  int parameterCount = 0;
  bool operator==(const ExternFunction&) const = default;
};

// The unit's "use access" pragma: who may call its extern functions.
struct AccessPragma {
  std::optional<QString> domain;
  std::optional<QString> path;
  bool operator==(const AccessPragma&) const = default;
};

// What a unit offers and needs, as far as its text could be read: what a
// deck's check compares its calls with.
struct ScriptInterface {
  QList<ExternFunction> externs;
  // The local names of its "use url" pragmas, in order.
  QStringList useUrlNames;
  std::optional<AccessPragma> access;
  // Whether the whole text parsed (when not, the lists hold what came
  // before the syntax error).
  bool parsed = false;
};

struct ScriptCompileResult {
  // The compiled unit; empty when it does not compile.
  QByteArray bytecode;
  // Every error and warning, ordered by position.
  QList<wml::Finding> findings;
  ScriptInterface interface;
  bool ok() const { return !bytecode.isEmpty() && !wml::hasError(findings); }
};

// Checks and compiles WMLScript source (already decoded from its file's
// encoding). The same source always gives the same bytes.
ScriptCompileResult compileScript(const QString& source);

// Parses only: the extern functions and pragmas.
ScriptInterface scriptInterface(const QString& source);

// Whether a file is a WMLScript unit by its name (".wmls"): the editor, the
// checker and the command line tell scripts from decks this way.
bool isScriptFileName(const QString& path);

} // namespace tessera::wml::script
