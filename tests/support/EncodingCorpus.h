#pragma once

#include "document/EncodingDetection.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Files of every kind the program must open and save back unchanged, built
// by the tests themselves: byte-order marks, UTF-16 without one, declared
// charsets, windows-1252 bytes, invalid UTF-8, NULs, each kind of line
// break, no final break.
namespace corpus {

struct File {
  const char* name;
  QByteArray bytes;
  QString encoding; // the display name of the encoding it must open in
};

QList<File> files();

// `count` files of random bytes, many of them shaped like the kinds above.
QList<QByteArray> randomFiles(quint32 seed, int count);

// `body` behind an XML declaration naming `charset`.
QByteArray declared(const char* charset, const QByteArray& body);

// What saving `bytes`, read as `file`, unedited must write: the same bytes,
// but for breaks that were mixed or lone CRs, each of which becomes CR LF.
QByteArray expectedSave(const QByteArray& bytes, const tessera::DecodedFile& file);

} // namespace corpus
