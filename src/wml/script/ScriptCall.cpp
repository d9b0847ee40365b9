#include "wml/script/ScriptCall.h"

#include "wml/script/ScriptCompiler.h"
#include "wml/script/UrlCall.h"

#include <QFile>
#include <QStringDecoder>
#include <QUrl>

namespace tessera::wml::script {

namespace {

bool isNameStart(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}
bool isNamePart(QChar c) { return isNameStart(c) || (c >= u'0' && c <= u'9'); }

// The fragment as the browser hands it to the interpreter once it has put
// the variables' values in: a reference outside quotes becomes the number
// 0 (its value is not known here, and a number is what such a place
// takes); inside quotes it is part of the string either way.
QString withVariablesAsLiterals(QStringView fragment) {
  QString out;
  out.reserve(fragment.size());
  QChar quote;
  for (qsizetype i = 0; i < fragment.size(); ++i) {
    const QChar c = fragment[i];
    if (!quote.isNull()) {
      if (c == quote)
        quote = QChar();
      out += c;
      continue;
    }
    if (c == u'"' || c == u'\'') {
      quote = c;
      out += c;
      continue;
    }
    if (c == u'$' && i + 1 < fragment.size()) {
      if (fragment[i + 1] == u'(') {
        const qsizetype close = fragment.indexOf(u')', i + 2);
        if (close > 0) {
          out += u'0';
          i = close;
          continue;
        }
      } else if (isNameStart(fragment[i + 1])) {
        ++i;
        while (i + 1 < fragment.size() && isNamePart(fragment[i + 1]))
          ++i;
        out += u'0';
        continue;
      }
    }
    out += c;
  }
  return out;
}

// A script file's text: UTF-8 when it is valid UTF-8, else one character
// per byte (what a script beside a deck most often is).
QString scriptText(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(bytes);
  return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

} // namespace

ScriptCall parseScriptCall(QStringView fragment) {
  ScriptCall call;
  const UrlCallParse parsed = parseUrlCall(withVariablesAsLiterals(fragment));
  if (!parsed.call) {
    call.error = parsed.error.isEmpty() ? QStringLiteral("not a call") : parsed.error;
    return call;
  }
  call.function = parsed.call->function;
  call.argumentCount = int(parsed.call->arguments.size());
  return call;
}

namespace {

CompiledUnitReader& compiledUnitReader() {
  static CompiledUnitReader reader;
  return reader;
}

// The extern functions of a verified unit, by its function name table.
QList<ExternFunction> externsOf(const VerifiedUnit& unit) {
  QList<ExternFunction> externs;
  for (const VerifiedFunction& function : unit.functions())
    if (!function.name.isEmpty())
      externs.append({function.name, function.arguments});
  return externs;
}

} // namespace

void setCompiledUnitReader(CompiledUnitReader reader) { compiledUnitReader() = std::move(reader); }

namespace {

// A call with no function or one that cannot be read; else `call` is read.
std::optional<ScriptCallProblem>
callSyntaxProblem(const QString& name, const QString& escapedFragment, ScriptCall& call) {
  if (escapedFragment.isEmpty())
    return ScriptCallProblem{Severity::Error, QStringLiteral("bad-script-call"),
                             QStringLiteral("The call of %1 names no function (a script is "
                                            "called as %1#function(arguments)).")
                                 .arg(name)};
  call = parseScriptCall(QUrl::fromPercentEncoding(escapedFragment.toUtf8()));
  if (!call.error.isEmpty())
    return ScriptCallProblem{Severity::Error, QStringLiteral("bad-script-call"),
                             QStringLiteral("The call \"%1\" of %2 cannot be read: %3.")
                                 .arg(escapedFragment, name, call.error)};
  return std::nullopt;
}

} // namespace

ScriptCallProblem doesNotCompile(const QString& name, const Finding& firstError) {
  return {Severity::Error, QStringLiteral("script-does-not-compile"),
          QStringLiteral("%1 does not compile (line %2, column %3: %4).")
              .arg(name)
              .arg(firstError.start.line)
              .arg(firstError.start.column)
              .arg(firstError.message)};
}

std::optional<ScriptCallProblem> checkCallOf(const QString& name,
                                             const QList<ExternFunction>& externs,
                                             const QString& escapedFragment) {
  ScriptCall call;
  if (auto problem = callSyntaxProblem(name, escapedFragment, call))
    return problem;
  for (const ExternFunction& function : externs) {
    if (function.name != call.function)
      continue;
    if (function.parameterCount == call.argumentCount)
      return std::nullopt;
    return ScriptCallProblem{Severity::Error, QStringLiteral("wrong-argument-count"),
                             QStringLiteral("%1#%2 takes %3 arguments; the call passes %4.")
                                 .arg(name, call.function)
                                 .arg(function.parameterCount)
                                 .arg(call.argumentCount)};
  }
  return ScriptCallProblem{
      Severity::Error, QStringLiteral("unknown-script-function"),
      QStringLiteral("%1 has no extern function \"%2\".").arg(name, call.function)};
}

std::optional<ScriptCallProblem> checkScriptCall(const QString& scriptPath,
                                                 const QString& escapedFragment) {
  const QString name = scriptPath.section(u'/', -1);
  ScriptCall call;
  if (auto problem = callSyntaxProblem(name, escapedFragment, call))
    return problem;
  QList<ExternFunction> externs;
  if (scriptPath.endsWith(QLatin1String(".wmlsc"), Qt::CaseInsensitive)) {
    if (!compiledUnitReader())
      return std::nullopt;
    const LoadedUnit loaded = compiledUnitReader()(scriptPath);
    if (!loaded.unit)
      return ScriptCallProblem{
          Severity::Error, QStringLiteral("script-does-not-compile"),
          QStringLiteral("%1 is not a unit a phone runs (%2).").arg(name, loaded.error)};
    externs = externsOf(*loaded.unit);
  } else {
    QFile file(scriptPath);
    // Large enough for any unit a phone takes; a larger file is not read.
    constexpr qint64 kLargestScript = 16 * 1024 * 1024;
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestScript)
      return std::nullopt; // its existence is checked on its own
    const ScriptCompileResult compiled = compileScript(scriptText(file.readAll()));
    if (!compiled.ok()) {
      for (const Finding& finding : compiled.findings)
        if (finding.severity == Severity::Error)
          return doesNotCompile(name, finding);
      return std::nullopt;
    }
    externs = compiled.interface.externs;
  }
  return checkCallOf(name, externs, escapedFragment);
}

} // namespace tessera::wml::script
