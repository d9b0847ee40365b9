#pragma once

#include <QByteArray>
#include <QStringView>

#include <optional>

namespace tessera::wml::syntax {

// The charset an XML declaration at the very start of a text (after a
// byte-order mark, if any) names in its encoding pseudo-attribute, and where
// the name stands. The file reader, the compiler and the server all read a
// deck's declaration through this one reader.
struct DeclaredEncoding {
  QByteArray label;   // as written
  qsizetype from = 0; // index of the name's first character
  qsizetype length = 0;
};

std::optional<DeclaredEncoding> declaredEncoding(QStringView text);
// The same for the first bytes of a file in an ASCII-compatible charset
// (`from` counts bytes).
std::optional<DeclaredEncoding> declaredEncoding(const QByteArray& bytes);

// Whether a charset label names ISO-8859-1 (under any of its registered names).
bool namesLatin1(QByteArrayView label);

} // namespace tessera::wml::syntax
