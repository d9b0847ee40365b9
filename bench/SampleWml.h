#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace bench {

// A WML deck of about `bytes` bytes (UTF-8, CR LF breaks), the same for the
// same size: cards of paragraphs, links and entities, with a share of long
// lines that wrap.
QByteArray sampleWml(qint64 bytes);

// Our WML 1.1 document type as wml11.dtd in `workDir` and a catalog
// (returned) that gives it to xmllint by the decks' public identifier, so
// both sides of a checking figure read the same declarations; empty when
// they cannot be written.
QString writeWmlCatalog(const QString& workDir);

// The checking figures' reference: `xmllint --noout --nonet --loaddtd
// --dtdvalid DTD FILES...` with that catalog, output discarded, waited for.
void runXmllintDtdValid(const QString& xmllint, const QString& catalog, const QString& dtd,
                        const QStringList& files);

} // namespace bench
