#pragma once

// What a site check needs of a binary file (a compiled deck, a compiled
// script, a picture), found in a child process: `tessera --inspect FILE...`
// prints one JSON line per file, and the site check reads them back into the
// files' summaries. A file that crashes the child costs only that child.

#include "wml/site/SiteModel.h"

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

namespace tessera {

// In the site check: fills a summary's content from the child's object
// (`budget` for a compiled deck's size).
wml::site::FileSummary summaryFromInspection(const QString& sitePath, wml::site::FileKind kind,
                                             const QJsonObject& found, int fileSize, int budget);

// Inspects the files in as few children as it can: when a child stops
// (a crash, a limit) before it has answered for every file, the file it was
// at is reported as stopping the decoder and the rest go to a new child.
// Keyed by the file names given.
QHash<QString, QJsonObject> inspectInChildren(const QString& program, const QStringList& files);

} // namespace tessera
