#include "deck/BinaryInspection.h"

#include "deck/LimitedChild.h"
#include "wml/script/BytecodeVerifier.h"
#include "wml/site/FileSummaries.h"
#include "wml/wbxml/WbxmlDecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>

namespace tessera {

namespace {

using wml::site::FileKind;

constexpr int kTimeLimitPerFileMs = 10000;
constexpr long kMemoryLimitBytes = 1024L * 1024 * 1024;

QJsonObject inspectPicture(const QByteArray& bytes) {
  QByteArray data = bytes;
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QImage picture = reader.read();
  if (picture.isNull())
    return {
        {QStringLiteral("error"),
         QStringLiteral("not a picture this program can decode (%1)").arg(reader.errorString())}};
  return {{QStringLiteral("width"), picture.width()}, {QStringLiteral("height"), picture.height()}};
}

QJsonObject inspectBytecode(const QByteArray& bytes) {
  const wml::script::VerifyResult loaded = wml::script::loadBytecode(bytes);
  if (!loaded.unit)
    return {{QStringLiteral("error"),
             QStringLiteral("not valid WMLScript bytecode (%1)").arg(loaded.error)}};
  QJsonArray externs;
  for (const wml::script::VerifiedFunction& function : loaded.unit->functions())
    if (!function.name.isEmpty())
      externs.append(QJsonObject{{QStringLiteral("name"), function.name},
                                 {QStringLiteral("parameters"), function.arguments}});
  QJsonObject found{{QStringLiteral("externs"), externs}};
  if (loaded.unit->accessDomain() || loaded.unit->accessPath()) {
    QJsonObject access;
    if (const auto& domain = loaded.unit->accessDomain())
      access.insert(QStringLiteral("domain"), *domain);
    if (const auto& path = loaded.unit->accessPath())
      access.insert(QStringLiteral("path"), *path);
    found.insert(QStringLiteral("access"), access);
  }
  return found;
}

} // namespace

QJsonObject inspectBinary(const QString& file, FileKind kind, const QByteArray& bytes) {
  QJsonObject found;
  switch (kind) {
  case FileKind::CompiledDeck: {
    const wml::wbxml::DecodedDeck decoded = wml::wbxml::decodeDeck(bytes);
    found = decoded.ok ? QJsonObject{{QStringLiteral("source"), decoded.source}}
                       : QJsonObject{{QStringLiteral("error"),
                                      QStringLiteral("not a compiled deck this program can "
                                                     "decode (%1)")
                                          .arg(decoded.error)}};
    break;
  }
  case FileKind::CompiledScript: found = inspectBytecode(bytes); break;
  case FileKind::Picture: found = inspectPicture(bytes); break;
  case FileKind::Deck:
  case FileKind::Script: found = {{QStringLiteral("error"), QStringLiteral("a text file")}}; break;
  }
  found.insert(QStringLiteral("file"), file);
  return found;
}

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
