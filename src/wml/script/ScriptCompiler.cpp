#include "wml/script/ScriptCompiler.h"

#include "wml/script/ScriptAssembler.h"
#include "wml/script/ScriptChecks.h"
#include "wml/script/ScriptCodeGen.h"
#include "wml/script/ScriptSyntax.h"

namespace tessera::wml::script {

namespace {

ScriptInterface interfaceOf(const ParseResult& parsed) {
  ScriptInterface interface;
  interface.parsed = parsed.complete;
  for (const Pragma& pragma : parsed.unit.pragmas) {
    if (pragma.kind == Pragma::Kind::Url)
      interface.useUrlNames.append(pragma.name);
    else if (pragma.kind == Pragma::Kind::Access && !interface.access)
      interface.access = AccessPragma{pragma.domain, pragma.path};
  }
  for (const FunctionDeclaration& function : parsed.unit.functions)
    if (function.isExtern)
      interface.externs.append({function.name.toString(), int(function.parameters.size())});
  return interface;
}

} // namespace

ScriptCompileResult compileScript(const QString& source) {
  ScriptCompileResult result;
  ParseResult parsed = parseScript(source);
  result.findings = parsed.findings;
  result.interface = interfaceOf(parsed);
  if (parsed.complete) {
    result.findings += checkUnit(parsed.unit);
    if (!hasError(result.findings)) {
      UnitCode code = generateCode(parsed.unit);
      result.bytecode = assembleUnit(code, result.findings);
    }
  }
  sortByPosition(result.findings);
  return result;
}

ScriptInterface scriptInterface(const QString& source) { return interfaceOf(parseScript(source)); }

bool isScriptFileName(const QString& path) {
  return path.endsWith(QLatin1String(".wmls"), Qt::CaseInsensitive);
}

} // namespace tessera::wml::script
