#include "document/XmlDeclaration.h"

#include <QRegularExpression>

namespace tessera {

namespace {
// A declaration is short; a file that holds no "?>" this early has none.
constexpr qsizetype kLongestDeclaration = 1024;
} // namespace

std::optional<DeclaredEncoding> declaredEncoding(QStringView text) {
  if (!text.startsWith(u"<?xml"))
    return std::nullopt;
  const QStringView head = text.left(kLongestDeclaration);
  const qsizetype end = head.indexOf(u"?>");
  if (end < 0)
    return std::nullopt;
  static const QRegularExpression pattern(
      QStringLiteral(R"(\sencoding\s*=\s*(["'])([A-Za-z][A-Za-z0-9._:-]*)\1)"));
  const QRegularExpressionMatch match = pattern.match(head.left(end).toString());
  if (!match.hasMatch())
    return std::nullopt;
  DeclaredEncoding declared;
  declared.label = match.captured(2).toLatin1();
  declared.from = match.capturedStart(2);
  declared.length = match.capturedLength(2);
  return declared;
}

std::optional<DeclaredEncoding> declaredEncoding(const QByteArray& bytes) {
  return declaredEncoding(QString::fromLatin1(bytes.left(kLongestDeclaration)));
}

} // namespace tessera
