#include "deck/BinaryInspection.h"

#include "deck/LimitedChild.h"
#include "wml/site/FileSummaries.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace tessera {

namespace {

using wml::site::FileKind;

constexpr int kTimeLimitPerFileMs = 10000;
constexpr long kMemoryLimitBytes = 1024L * 1024 * 1024;

} // namespace

wml::site::FileSummary summaryFromInspection(const QString& sitePath, FileKind kind,
                                             const QJsonObject& found, int fileSize, int budget) {
  if (const QString error = found.value(QStringLiteral("error")).toString(); !error.isEmpty())
    return wml::site::unreadableFile(sitePath, kind, error);
  if (kind == FileKind::CompiledDeck)
    return wml::site::summariseCompiledDeck(
        sitePath, found.value(QStringLiteral("source")).toString(), fileSize, budget);
  wml::site::FileSummary summary;
  summary.path = sitePath;
  summary.kind = kind;
  if (kind == FileKind::Picture) {
    summary.pictureSize = QSize(found.value(QStringLiteral("width")).toInt(),
                                found.value(QStringLiteral("height")).toInt());
    return summary;
  }
  summary.interfaceKnown = true;
  for (const QJsonValue function : found.value(QStringLiteral("externs")).toArray())
    summary.externs.append({function[QStringLiteral("name")].toString(),
                            function[QStringLiteral("parameters")].toInt()});
  if (found.contains(QStringLiteral("access"))) {
    const QJsonObject access = found.value(QStringLiteral("access")).toObject();
    wml::site::ScriptAccess pragma;
    if (access.contains(QStringLiteral("domain")))
      pragma.domain = access.value(QStringLiteral("domain")).toString();
    if (access.contains(QStringLiteral("path")))
      pragma.path = access.value(QStringLiteral("path")).toString();
    summary.access = pragma;
  }
  return summary;
}

QHash<QString, QJsonObject> inspectInChildren(const QString& program, const QStringList& files) {
  QHash<QString, QJsonObject> found;
  QStringList left = files;
  while (!left.isEmpty()) {
    const ChildRun run = runLimitedChild(
        program, QStringList{QStringLiteral("--inspect")} + left,
        kTimeLimitPerFileMs * int(std::min<qsizetype>(left.size(), 30)), kMemoryLimitBytes);
    if (!run.started) {
      for (const QString& file : left)
        found.insert(
            file, {{QStringLiteral("error"), QStringLiteral("the decoder could not be started")}});
      return found;
    }
    for (const QByteArray& line : run.output.split('\n')) {
      const QJsonObject object = QJsonDocument::fromJson(line).object();
      const QString file = object.value(QStringLiteral("file")).toString();
      if (left.contains(file))
        found.insert(file, object);
    }
    left.removeIf([&](const QString& file) { return found.contains(file); });
    if (left.isEmpty())
      break;
    // The child answers in order: the first file unanswered is the one it
    // was at when it stopped.
    found.insert(left.takeFirst(), {{QStringLiteral("error"),
                                     run.timedOut ? QStringLiteral("decoding it took too long")
                                                  : QStringLiteral("decoding it stopped the "
                                                                   "decoder")}});
  }
  return found;
}

} // namespace tessera
