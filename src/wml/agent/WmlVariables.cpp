#include "wml/agent/WmlVariables.h"

#include "wml/syntax/VariableReference.h"

#include <QByteArray>
#include <QUrl>

namespace tessera::wml::agent {

namespace {

QString converted(const QString& value, syntax::Conversion conversion, VariableContext context) {
  switch (conversion) {
  case syntax::Conversion::Escape: return urlEscape(value);
  case syntax::Conversion::Unescape: return urlUnescape(value);
  case syntax::Conversion::None: return value;
  case syntax::Conversion::Default: break;
  }
  return context == VariableContext::Address ? urlEscape(value) : value;
}

} // namespace

bool isVariableName(const QString& name) { return syntax::isVariableName(QStringView(name)); }

QString substituteVariables(const QString& text, const WmlVariables& variables,
                            VariableContext context) {
  if (!text.contains(u'$'))
    return text;
  QString result;
  result.reserve(text.size());
  qsizetype literalStart = 0;
  qsizetype at = 0;
  while ((at = text.indexOf(u'$', at)) >= 0) {
    result += QStringView(text).sliced(literalStart, at - literalStart);
    const syntax::VariableReference reference =
        syntax::scanVariableReference(QStringView(text).sliced(at));
    switch (reference.kind) {
    case syntax::VariableReference::Kind::Dollar: result += u'$'; break;
    case syntax::VariableReference::Kind::Variable:
      result += converted(variables.value(text.mid(at + reference.nameStart, reference.nameLength)),
                          reference.conversion, context);
      break;
    case syntax::VariableReference::Kind::Malformed:
      // A deck holding one is shown as an error; text from elsewhere (a
      // script's argument) keeps it as written.
      result += QStringView(text).sliced(at, reference.length);
      break;
    }
    at = literalStart = at + reference.length;
  }
  result += QStringView(text).sliced(literalStart);
  return result;
}

QString urlEscape(const QString& text) {
  return QString::fromLatin1(QUrl::toPercentEncoding(text, "!*'()"));
}

QString urlUnescape(const QString& text) {
  return QString::fromUtf8(QByteArray::fromPercentEncoding(text.toUtf8()));
}

} // namespace tessera::wml::agent
