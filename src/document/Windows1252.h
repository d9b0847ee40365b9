#pragma once

#include <QByteArrayView>
#include <QString>

namespace tessera::windows1252 {

// Windows-1252 in which each of its five unassigned bytes (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stands for the C1 control of the same value, so that
// every byte decodes to a character and encodes back to itself.

QString decode(QByteArrayView bytes);
// The byte for `c`, or -1 when the code page has none.
int byteFor(char16_t c);

} // namespace tessera::windows1252
