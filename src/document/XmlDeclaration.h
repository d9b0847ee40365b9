#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace tessera {

// The charset an XML declaration at the very start of a text names in its
// encoding pseudo-attribute, and where the name stands.
struct DeclaredEncoding {
  QByteArray label;
  qsizetype from = 0; // index of the name's first character
  qsizetype length = 0;
};

std::optional<DeclaredEncoding> declaredEncoding(QStringView text);
// The same for the first bytes of a file in an ASCII-compatible charset.
std::optional<DeclaredEncoding> declaredEncoding(const QByteArray& bytes);

} // namespace tessera
