#pragma once

#include <QByteArray>

namespace bench {

// A WML deck of about `bytes` bytes (UTF-8, CR LF breaks), the same for the
// same size: cards of paragraphs, links and entities, with a share of long
// lines that wrap.
QByteArray sampleWml(qint64 bytes);

} // namespace bench
