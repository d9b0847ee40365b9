#include "wml/syntax/XmlDeclaration.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace tessera::wml::syntax {

namespace {
// A declaration is short; a file that holds no "?>" this early has none.
constexpr qsizetype kLongestDeclaration = 1024;
} // namespace

std::optional<DeclaredEncoding> declaredEncoding(QStringView text) {
  const qsizetype start = text.startsWith(QChar(0xFEFF)) ? 1 : 0;
  const QStringView head = text.sliced(start).left(kLongestDeclaration);
  // "<?xml-stylesheet" and the like are other processing instructions.
  if (!head.startsWith(u"<?xml") || head.size() < 6 || !QStringLiteral(" \t\r\n").contains(head[5]))
    return std::nullopt;
  const qsizetype end = head.indexOf(u"?>");
  if (end < 0)
    return std::nullopt;
  // The encoding's name as XML writes one: a letter, then letters, digits,
  // "." "_" "-" (the parser refuses any other as not well-formed).
  static const QRegularExpression pattern(
      QStringLiteral(R"(\sencoding\s*=\s*(["'])([A-Za-z][A-Za-z0-9._-]*)\1)"));
  const QRegularExpressionMatch match = pattern.match(head.left(end).toString());
  if (!match.hasMatch())
    return std::nullopt;
  DeclaredEncoding declared;
  declared.label = match.captured(2).toLatin1();
  declared.from = start + match.capturedStart(2);
  declared.length = match.capturedLength(2);
  return declared;
}

std::optional<DeclaredEncoding> declaredEncoding(const QByteArray& bytes) {
  const qsizetype mark = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
  auto declared = declaredEncoding(QString::fromLatin1(bytes.mid(mark, kLongestDeclaration)));
  if (declared)
    declared->from += mark;
  return declared;
}

bool namesLatin1(QByteArrayView label) {
  static constexpr std::array<QByteArrayView, 10> kNames{
      "iso-8859-1", "iso_8859-1", "iso8859-1", "iso-ir-100", "latin1",
      "latin-1",    "l1",         "cp819",     "ibm819",     "csisolatin1"};
  const QByteArray lower = label.toByteArray().toLower();
  return std::find(kNames.begin(), kNames.end(), QByteArrayView(lower)) != kNames.end();
}

} // namespace tessera::wml::syntax
