#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tessera::serve {

// The charset a deck's or script's bytes are written in, as a phone is told
// it: a byte-order mark's, else the XML declaration's encoding, else UTF-8
// (what XML assumes without either). Lower case.
QByteArray charsetOf(const QByteArray& bytes);

// The bytes read in that charset; nothing when the toolkit has no decoder
// for it or the bytes are not valid in it.
std::optional<QString> decodeText(const QByteArray& bytes, const QByteArray& charset);

// The text written in that charset; nothing when the toolkit has no encoder
// for it or a character cannot be written in it.
std::optional<QByteArray> encodeText(const QString& text, const QByteArray& charset);

} // namespace tessera::serve
