#include "wml/InputMask.h"

#include <QStringList>

namespace tessera {

namespace {

bool isFormatCode(QChar c) { return QStringLiteral("AaNXxMm").contains(c); }

// Anything that is neither letter nor digit counts as punctuation here,
// the space included.
bool isPunctuation(QChar c) { return !c.isLetterOrNumber(); }

QString codeWords(QChar code, int count) {
  const bool one = count == 1;
  switch (code.unicode()) {
  case 'A':
    return one ? QStringLiteral("capital letter or symbol")
               : QStringLiteral("capital letters or symbols");
  case 'a':
    return one ? QStringLiteral("small letter or symbol")
               : QStringLiteral("small letters or symbols");
  case 'N': return one ? QStringLiteral("digit") : QStringLiteral("digits");
  case 'X':
    return one ? QStringLiteral("capital letter, digit or symbol")
               : QStringLiteral("capital letters, digits or symbols");
  case 'x':
    return one ? QStringLiteral("small letter, digit or symbol")
               : QStringLiteral("small letters, digits or symbols");
  default: return one ? QStringLiteral("character") : QStringLiteral("characters");
  }
}

} // namespace

bool formatCodeAccepts(QChar code, QChar c) {
  switch (code.unicode()) {
  case 'A': return c.isUpper() || isPunctuation(c);
  case 'a': return c.isLower() || isPunctuation(c);
  case 'N': return c.isDigit();
  case 'X': return c.isUpper() || c.isDigit() || isPunctuation(c);
  case 'x': return c.isLower() || c.isDigit() || isPunctuation(c);
  case 'M':
  case 'm': return true;
  default: return false;
  }
}

std::optional<InputMask> InputMask::parse(const QString& format) {
  InputMask mask;
  const qsizetype size = format.size();
  for (qsizetype i = 0; i < size; ++i) {
    const QChar c = format.at(i);
    if (c == u'\\') {
      if (i + 1 >= size)
        return std::nullopt;
      mask.fixed.push_back({QChar(), format.at(++i)});
    } else if (isFormatCode(c)) {
      mask.fixed.push_back({c, QChar()});
    } else if (c == u'*' || (c >= u'1' && c <= u'9')) {
      // A count closes the mask: exactly one code must follow it.
      if (i + 2 != size || !isFormatCode(format.at(i + 1)))
        return std::nullopt;
      mask.tailCode = format.at(i + 1);
      mask.tailMax = c == u'*' ? -1 : c.digitValue();
      break;
    } else {
      return std::nullopt;
    }
  }
  if (mask.fixed.empty() && mask.tailCode.isNull())
    return std::nullopt;
  return mask;
}

bool InputMask::accepts(const QString& value) const {
  const qsizetype fixedCount = qsizetype(fixed.size());
  if (value.size() < fixedCount)
    return false;
  for (qsizetype i = 0; i < fixedCount; ++i) {
    const Position& position = fixed[size_t(i)];
    const QChar c = value.at(i);
    if (position.code.isNull() ? c != position.literal : !formatCodeAccepts(position.code, c))
      return false;
  }
  const qsizetype rest = value.size() - fixedCount;
  if (tailCode.isNull())
    return rest == 0;
  if (tailMax >= 0 && rest > tailMax)
    return false;
  for (qsizetype i = fixedCount; i < value.size(); ++i)
    if (!formatCodeAccepts(tailCode, value.at(i)))
      return false;
  return true;
}

QString InputMask::describe() const {
  QStringList parts;
  size_t i = 0;
  while (i < fixed.size()) {
    const Position& position = fixed[i];
    if (position.code.isNull()) {
      parts << QStringLiteral("\"%1\"").arg(position.literal);
      ++i;
      continue;
    }
    size_t end = i + 1;
    while (end < fixed.size() && fixed[end].code == position.code)
      ++end;
    const int count = int(end - i);
    parts << (count == 1 ? QStringLiteral("1 ") + codeWords(position.code, 1)
                         : QStringLiteral("%1 %2").arg(count).arg(codeWords(position.code, count)));
    i = end;
  }
  if (!tailCode.isNull()) {
    parts << (tailMax < 0
                  ? QStringLiteral("any number of ") + codeWords(tailCode, 2)
                  : QStringLiteral("up to %1 %2").arg(tailMax).arg(codeWords(tailCode, tailMax)));
  }
  return parts.join(QStringLiteral(", "));
}

} // namespace tessera
