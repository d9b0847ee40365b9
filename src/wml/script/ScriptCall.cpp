#include "wml/script/ScriptCall.h"

#include "wml/script/ScriptCompiler.h"

#include <QFile>
#include <QStringDecoder>
#include <QUrl>

namespace tessera::wml::script {

namespace {

bool isNameStart(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isSpace(QChar c) {
  return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\r' || c == u'\n';
}

class CallReader {
public:
  explicit CallReader(QStringView text) : text(text) {}

  ScriptCall read() {
    ScriptCall call;
    if (!isNameStart(at()))
      return fail(call, QStringLiteral("the fragment does not start with a function name"));
    while (isNameStart(at()) || isDigit(at()))
      call.function += text[pos++];
    if (at() != u'(')
      return fail(call,
                  QStringLiteral("\"(\" must follow the function name %1").arg(call.function));
    ++pos;
    skipSpaces();
    if (at() == u')') {
      ++pos;
      return end(call);
    }
    for (;;) {
      skipSpaces();
      if (!argument())
        return fail(call, QStringLiteral("argument %1 is not a literal (a number, a quoted "
                                         "string, true, false or invalid)")
                              .arg(call.argumentCount + 1));
      ++call.argumentCount;
      skipSpaces();
      if (at() == u',') {
        ++pos;
        continue;
      }
      if (at() == u')') {
        ++pos;
        return end(call);
      }
      return fail(
          call,
          QStringLiteral("\",\" or \")\" expected after argument %1").arg(call.argumentCount));
    }
  }

private:
  QStringView text;
  qsizetype pos = 0;

  QChar at() const { return pos < text.size() ? text[pos] : QChar(); }
  void skipSpaces() {
    while (isSpace(at()))
      ++pos;
  }
  ScriptCall& fail(ScriptCall& call, const QString& why) {
    call.error = why;
    return call;
  }
  ScriptCall& end(ScriptCall& call) {
    if (pos != text.size())
      call.error = QStringLiteral("text after the call's \")\"");
    return call;
  }

  // A WML variable reference: $name, $(name) or $(name:conversion).
  bool variable() {
    if (at() != u'$')
      return false;
    ++pos;
    if (at() == u'(') {
      const qsizetype close = text.indexOf(u')', pos);
      if (close < 0)
        return false;
      pos = close + 1;
      return true;
    }
    if (!isNameStart(at()))
      return false;
    while (isNameStart(at()) || isDigit(at()))
      ++pos;
    return true;
  }

  bool digits() {
    const qsizetype start = pos;
    while (isDigit(at()))
      ++pos;
    return pos > start;
  }

  bool number() {
    if (at() == u'+' || at() == u'-')
      ++pos;
    if (variable())
      return true;
    const bool whole = digits();
    bool fraction = false;
    if (at() == u'.') {
      ++pos;
      fraction = digits();
    }
    if (!whole && !fraction)
      return false;
    if (at() == u'e' || at() == u'E') {
      ++pos;
      if (at() == u'+' || at() == u'-')
        ++pos;
      return digits();
    }
    return true;
  }

  bool argument() {
    const QChar c = at();
    if (c == u'"' || c == u'\'') {
      const qsizetype close = text.indexOf(c, pos + 1);
      if (close < 0)
        return false;
      pos = close + 1;
      return true;
    }
    if (variable())
      return true;
    for (const QLatin1StringView word :
         {QLatin1StringView("invalid"), QLatin1StringView("true"), QLatin1StringView("false")}) {
      if (text.mid(pos).startsWith(word) &&
          !(pos + word.size() < text.size() &&
            (isNameStart(text[pos + word.size()]) || isDigit(text[pos + word.size()])))) {
        pos += word.size();
        return true;
      }
    }
    return number();
  }
};

// A script file's text: UTF-8 when it is valid UTF-8, else one character
// per byte (what a script beside a deck most often is).
QString scriptText(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(bytes);
  return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

} // namespace

ScriptCall parseScriptCall(QStringView fragment) { return CallReader(fragment).read(); }

std::optional<ScriptCallProblem> checkScriptCall(const QString& scriptPath,
                                                 const QString& escapedFragment) {
  const QString name = scriptPath.section(u'/', -1);
  if (escapedFragment.isEmpty())
    return ScriptCallProblem{Severity::Error, QStringLiteral("bad-script-call"),
                             QStringLiteral("The call of %1 names no function (a script is "
                                            "called as %1#function(arguments)).")
                                 .arg(name)};
  const ScriptCall call = parseScriptCall(QUrl::fromPercentEncoding(escapedFragment.toUtf8()));
  if (!call.error.isEmpty())
    return ScriptCallProblem{Severity::Error, QStringLiteral("bad-script-call"),
                             QStringLiteral("The call \"%1\" of %2 cannot be read: %3.")
                                 .arg(escapedFragment, name, call.error)};
  QFile file(scriptPath);
  // Large enough for any unit a phone takes; a larger file is not read.
  constexpr qint64 kLargestScript = 16 * 1024 * 1024;
  if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestScript)
    return std::nullopt; // its existence is checked on its own
  const ScriptCompileResult compiled = compileScript(scriptText(file.readAll()));
  if (!compiled.ok()) {
    for (const Finding& finding : compiled.findings)
      if (finding.severity == Severity::Error)
        return ScriptCallProblem{Severity::Error, QStringLiteral("script-does-not-compile"),
                                 QStringLiteral("%1 does not compile (line %2, column %3: %4).")
                                     .arg(name)
                                     .arg(finding.line)
                                     .arg(finding.column)
                                     .arg(finding.message)};
    return std::nullopt;
  }
  for (const ExternFunction& function : compiled.interface.externs) {
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

} // namespace tessera::wml::script
