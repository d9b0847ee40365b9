#include "wml/TextRules.h"

namespace tessera::wml {

namespace {

bool isNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isNameChar(char c) { return isNameStart(c) || (c >= '0' && c <= '9'); }

bool isConversion(QByteArrayView word) {
  for (const char* known : {"escape", "noesc", "unesc", "e", "n", "u"})
    if (word.compare(QByteArrayView(known), Qt::CaseInsensitive) == 0)
      return true;
  return false;
}

bool isFormatCode(QChar c) { return QStringLiteral("AaNnXxMm").contains(c); }

} // namespace

VariableScan scanVariableReference(QByteArrayView text) {
  const qsizetype size = text.size();
  if (size >= 2 && text[1] == '$')
    return {2, {}};
  if (size >= 2 && isNameStart(text[1])) {
    qsizetype end = 2;
    while (end < size && isNameChar(text[end]))
      ++end;
    return {end, {}};
  }
  if (size < 2 || text[1] != '(')
    return {1, QStringLiteral("a lone \"$\" must be written \"$$\"")};
  qsizetype end = 2;
  if (end >= size || !isNameStart(text[end]))
    return {2, QStringLiteral("\"$(\" must be followed by a variable name")};
  while (end < size && isNameChar(text[end]))
    ++end;
  if (end < size && text[end] == ':') {
    const qsizetype start = ++end;
    while (end < size && text[end] != ')' && isNameChar(text[end]))
      ++end;
    if (!isConversion(text.sliced(start, end - start)))
      return {end, QStringLiteral("the conversion after \":\" must be escape, noesc or unesc "
                                  "(or e, n, u)")};
  }
  if (end >= size || text[end] != ')')
    return {end, QStringLiteral("the variable reference lacks its closing \")\"")};
  return {end + 1, {}};
}

QString formatMaskProblem(const QString& mask) {
  if (mask.isEmpty())
    return QStringLiteral("it is empty");
  for (qsizetype i = 0; i < mask.size(); ++i) {
    const QChar c = mask.at(i);
    if (c == QLatin1Char('\\')) {
      if (i + 1 == mask.size())
        return QStringLiteral("it ends with a \"\\\" that escapes nothing");
      ++i;
      continue;
    }
    const bool repeat = c == QLatin1Char('*') || (c >= QLatin1Char('1') && c <= QLatin1Char('9'));
    if (repeat) {
      if (i + 2 != mask.size() || !isFormatCode(mask.at(i + 1)))
        return QStringLiteral("\"%1\" must be followed by one format code and end the mask").arg(c);
      return {};
    }
    if (!isFormatCode(c))
      return QStringLiteral("\"%1\" is not a format code (A a N n X x M m; write \"\\%1\" for "
                            "the character itself)")
          .arg(c);
  }
  return {};
}

} // namespace tessera::wml
