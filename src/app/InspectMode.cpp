#include "app/InspectMode.h"

#include "app/CommandLine.h"
#include "deck/BinaryDecoding.h"
#include "document/FileReading.h"

#include <QJsonDocument>

namespace tessera {

namespace {
// Larger than any picture or compiled file a phone takes.
constexpr qint64 kLargestBinary = 64 * 1024 * 1024;
} // namespace

int runInspectMode(const ModeContext& context) {
  const QStringList files = context.operands();
  if (files.isEmpty())
    return context.usageError(QStringLiteral("--inspect needs at least one file"));
  QTextStream& out = context.out;
  for (const QString& file : files) {
    QJsonObject found;
    const auto kind = wml::site::fileKindOf(file);
    const FileReadResult read = readAtMost(file, kLargestBinary);
    if (!kind)
      found = {{QStringLiteral("file"), file},
               {QStringLiteral("error"), QStringLiteral("not a kind of file a site holds")}};
    else if (read.status != FileReadResult::Read)
      found = {{QStringLiteral("file"), file},
               {QStringLiteral("error"), read.status == FileReadResult::TooLarge
                                             ? QStringLiteral("the file is too large")
                                             : read.reason}};
    else
      found = inspectBinary(file, *kind, read.bytes);
    // Written at once: should the next file stop this process, the parent
    // still has every answer before it.
    out << QString::fromUtf8(QJsonDocument(found).toJson(QJsonDocument::Compact)) << '\n';
    out.flush();
  }
  return kExitClean;
}

} // namespace tessera
