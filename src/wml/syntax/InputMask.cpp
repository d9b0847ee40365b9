#include "wml/syntax/InputMask.h"

#include <QStringList>

#include <algorithm>

namespace tessera::wml::syntax {

namespace {

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
  case 'n': return one ? QStringLiteral("digit or symbol") : QStringLiteral("digits or symbols");
  case 'X':
    return one ? QStringLiteral("capital letter, digit or symbol")
               : QStringLiteral("capital letters, digits or symbols");
  case 'x':
    return one ? QStringLiteral("small letter, digit or symbol")
               : QStringLiteral("small letters, digits or symbols");
  default: return one ? QStringLiteral("character") : QStringLiteral("characters");
  }
}

// "A a N X x M m"
QString spacedOut(const QString& codes) {
  QString spaced;
  for (QChar c : codes) {
    if (!spaced.isEmpty())
      spaced += u' ';
    spaced += c;
  }
  return spaced;
}

} // namespace

bool formatCodeAccepts(QChar code, QChar c) {
  switch (code.unicode()) {
  case 'A': return c.isUpper() || isPunctuation(c);
  case 'a': return c.isLower() || isPunctuation(c);
  case 'N': return c.isDigit();
  case 'n': return c.isDigit() || isPunctuation(c);
  case 'X': return c.isUpper() || c.isDigit() || isPunctuation(c);
  case 'x': return c.isLower() || c.isDigit() || isPunctuation(c);
  case 'M':
  case 'm': return true;
  default: return false;
  }
}

QString formatCodes(WmlVersion version) {
  return version == WmlVersion::Wml11 ? QStringLiteral("AaNXxMm") : QStringLiteral("AaNnXxMm");
}

InputMask::Reading InputMask::read(QStringView format, WmlVersion version) {
  const QString codes = formatCodes(version);
  const auto isCode = [&codes](QChar c) { return codes.contains(c); };
  const auto refuse = [](QString problem) { return Reading{std::nullopt, std::move(problem)}; };
  if (format.isEmpty())
    return refuse(QStringLiteral("it is empty"));
  InputMask mask;
  const qsizetype size = format.size();
  for (qsizetype i = 0; i < size; ++i) {
    const QChar c = format.at(i);
    if (c == u'\\') {
      if (i + 1 >= size)
        return refuse(QStringLiteral("it ends with a \"\\\" that escapes nothing"));
      mask.fixed.push_back({QChar(), format.at(++i)});
    } else if (isCode(c)) {
      mask.fixed.push_back({c, QChar()});
    } else if (c == u'*' || (c >= u'1' && c <= u'9')) {
      // A count closes the mask: exactly one code must follow it.
      if (i + 2 != size || !isCode(format.at(i + 1)))
        return refuse(
            QStringLiteral("\"%1\" must be followed by one format code and end the mask").arg(c));
      mask.tailCode = format.at(i + 1);
      mask.tailMax = c == u'*' ? -1 : c.digitValue();
      break;
    } else if (c == u'n') {
      return refuse(QStringLiteral("the format code \"n\" is WML 1.2; this deck is WML 1.1"));
    } else {
      return refuse(QStringLiteral("\"%1\" is not a format code (%2; write \"\\%1\" for the "
                                   "character itself)")
                        .arg(c)
                        .arg(spacedOut(codes)));
    }
  }
  return {mask, {}};
}

std::optional<InputMask> InputMask::parse(QStringView format, WmlVersion version) {
  return read(format, version).mask;
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

QString InputMask::refusalOfNext(QStringView entered, QChar next) const {
  const qsizetype at = entered.size();
  const qsizetype fixedCount = qsizetype(fixed.size());
  const QString refused = QStringLiteral("\"%1\" refused: ").arg(next);
  QChar code = tailCode;
  if (at < fixedCount) {
    const Position& position = fixed[size_t(at)];
    if (position.code.isNull())
      return next == position.literal
                 ? QString()
                 : refused +
                       QStringLiteral("character %1 is \"%2\"").arg(at + 1).arg(position.literal);
    code = position.code;
  } else if (tailCode.isNull() || (tailMax >= 0 && at - fixedCount >= tailMax)) {
    const qsizetype most = fixedCount + std::max(0, tailMax);
    return refused + QStringLiteral("the format takes %1 character%2")
                         .arg(tailCode.isNull() ? QStringLiteral("exactly %1").arg(most)
                                                : QStringLiteral("at most %1").arg(most))
                         .arg(most == 1 ? QString() : QStringLiteral("s"));
  }
  return formatCodeAccepts(code, next)
             ? QString()
             : refused +
                   QStringLiteral("character %1 must be a %2").arg(at + 1).arg(codeWords(code, 1));
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

} // namespace tessera::wml::syntax
