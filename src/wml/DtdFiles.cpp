#include "wml/DtdFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <array>
#include <mutex>

static void initialiseDtdResources() { Q_INIT_RESOURCE(wml_dtd); }

namespace tessera::wml {

namespace {

constexpr std::array kVersions{WmlVersion::Wml11, WmlVersion::Wml12, WmlVersion::Wml13};

QByteArray readDtd(WmlVersion version) {
  QFile file(dtdPath(version));
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return file.readAll();
}

xmlParserInputPtr loadWmlEntity(const char* /*url*/, const char* publicId,
                                xmlParserCtxtPtr context) {
  if (!publicId || !context)
    return nullptr;
  const auto version = versionOfPublicIdentifier(QByteArray(publicId));
  if (!version)
    return nullptr;
  const QByteArray& text = dtdText(*version);
  if (text.isEmpty())
    return nullptr;
  return xmlNewStringInputStream(context, reinterpret_cast<const xmlChar*>(text.constData()));
}

} // namespace

QString dtdFileName(WmlVersion version) {
  QString name = versionName(version);
  name.remove(QLatin1Char('.'));
  return QStringLiteral("wml") + name + QStringLiteral(".dtd");
}

QString dtdPath(WmlVersion version) {
  const QString name = dtdFileName(version);
  if (QCoreApplication::instance()) {
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {dir + QStringLiteral("/data/dtd/") + name,
                                     dir + QStringLiteral("/../share/tessera/dtd/") + name})
      if (QFileInfo::exists(candidate))
        return QFileInfo(candidate).canonicalFilePath();
  }
  initialiseDtdResources();
  return QStringLiteral(":/wml/dtd/") + name;
}

const QByteArray& dtdText(WmlVersion version) {
  static const std::array<QByteArray, kVersions.size()> texts = [] {
    std::array<QByteArray, kVersions.size()> read;
    for (std::size_t i = 0; i < kVersions.size(); ++i)
      read[i] = readDtd(kVersions[i]);
    return read;
  }();
  return texts[std::size_t(version)];
}

void installEntityLoader() {
  static std::once_flag once;
  std::call_once(once, [] {
    xmlInitParser();
    (void)dtdText(WmlVersion::Wml11); // read the files before any worker needs them
    xmlSetExternalEntityLoader(loadWmlEntity);
  });
}

} // namespace tessera::wml
