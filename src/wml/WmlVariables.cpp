#include "wml/WmlVariables.h"

#include <QByteArray>
#include <QUrl>

namespace tessera {

namespace {

bool isNameStart(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}
bool isNameChar(QChar c) { return isNameStart(c) || (c >= u'0' && c <= u'9'); }

enum class Conversion { Default, Escape, Unescape, None, Invalid };

Conversion conversionNamed(const QString& name) {
  const QString lower = name.toLower();
  if (lower.isEmpty())
    return Conversion::Default;
  if (lower == QLatin1String("e") || lower == QLatin1String("escape"))
    return Conversion::Escape;
  if (lower == QLatin1String("u") || lower == QLatin1String("unesc"))
    return Conversion::Unescape;
  if (lower == QLatin1String("n") || lower == QLatin1String("noesc"))
    return Conversion::None;
  return Conversion::Invalid;
}

QString converted(const QString& value, Conversion conversion, VariableContext context) {
  switch (conversion) {
  case Conversion::Escape: return urlEscape(value);
  case Conversion::Unescape: return urlUnescape(value);
  case Conversion::None: return value;
  default: return context == VariableContext::Address ? urlEscape(value) : value;
  }
}

} // namespace

bool isVariableName(const QString& name) {
  if (name.isEmpty() || !isNameStart(name.front()))
    return false;
  for (QChar c : name)
    if (!isNameChar(c))
      return false;
  return true;
}

QString substituteVariables(const QString& text, const WmlVariables& variables,
                            VariableContext context) {
  if (!text.contains(u'$'))
    return text;
  QString result;
  result.reserve(text.size());
  const qsizetype size = text.size();
  qsizetype i = 0;
  while (i < size) {
    const QChar c = text.at(i);
    if (c != u'$' || i + 1 >= size) {
      result += c;
      ++i;
      continue;
    }
    const QChar next = text.at(i + 1);
    if (next == u'$') {
      result += u'$';
      i += 2;
    } else if (isNameStart(next)) {
      qsizetype end = i + 2;
      while (end < size && isNameChar(text.at(end)))
        ++end;
      result +=
          converted(variables.value(text.mid(i + 1, end - i - 1)), Conversion::Default, context);
      i = end;
    } else if (next == u'(') {
      const qsizetype close = text.indexOf(u')', i + 2);
      const QString inside = close < 0 ? QString() : text.mid(i + 2, close - i - 2);
      const qsizetype colon = inside.indexOf(u':');
      const QString name = colon < 0 ? inside : inside.left(colon);
      const Conversion conversion =
          colon < 0 ? Conversion::Default : conversionNamed(inside.mid(colon + 1));
      if (close < 0 || !isVariableName(name) || conversion == Conversion::Invalid) {
        result += c;
        ++i;
        continue;
      }
      result += converted(variables.value(name), conversion, context);
      i = close + 1;
    } else {
      result += c;
      ++i;
    }
  }
  return result;
}

QString urlEscape(const QString& text) {
  return QString::fromLatin1(QUrl::toPercentEncoding(text, "!*'()"));
}

QString urlUnescape(const QString& text) {
  return QString::fromUtf8(QByteArray::fromPercentEncoding(text.toUtf8()));
}

} // namespace tessera
