#include "SampleWml.h"

#include "wml/WmlVersion.h"

#include "wml/DtdFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>

namespace bench {

namespace {
const char* const kWords[] = {"phone",   "card",   "menu",     "deck",   "link",  "news",
                              "weather", "today",  "Budapest", "café",   "price", "ticket",
                              "select",  "option", "&amp;",    "&nbsp;", "WAP",   "timer"};
constexpr int kWordCount = int(sizeof(kWords) / sizeof(kWords[0]));

void appendWords(QByteArray& out, QRandomGenerator& random, int words) {
  for (int i = 0; i < words; ++i) {
    if (i > 0)
      out += ' ';
    out += kWords[random.bounded(kWordCount)];
  }
}
} // namespace

QByteArray sampleWml(qint64 bytes) {
  QRandomGenerator random(20261208);
  QByteArray out;
  out.reserve(bytes + 4096);
  out += "<?xml version=\"1.0\"?>\r\n";
  out += tessera::wml::doctypeDeclaration(tessera::wml::WmlVersion::Wml11).toLatin1();
  out += "\r\n<wml>\r\n";
  for (int card = 0; out.size() < bytes; ++card) {
    out += "<card id=\"c" + QByteArray::number(card) + "\" title=\"Card " +
           QByteArray::number(card) + "\">\r\n<p align=\"left\">\r\n";
    const int lines = random.bounded(3, 12);
    for (int line = 0; line < lines; ++line) {
      // Mostly short lines; about one in eight is long enough to wrap.
      appendWords(out, random,
                  random.bounded(8) == 0 ? random.bounded(40, 120) : random.bounded(2, 12));
      out += "<br/>\r\n";
    }
    out += "<a href=\"#c" + QByteArray::number(card + 1) + "\">Next</a>\r\n</p>\r\n</card>\r\n";
  }
  out += "</wml>\r\n";
  return out;
}

QString writeWmlCatalog(const QString& workDir) {
  const QString dtd = QDir(workDir).filePath(QStringLiteral("wml11.dtd"));
  QFile dtdFile(dtd);
  if (!dtdFile.open(QIODevice::WriteOnly))
    return {};
  dtdFile.write(tessera::wml::dtdText(tessera::wml::WmlVersion::Wml11));
  dtdFile.close();
  const QString catalog = QDir(workDir).filePath(QStringLiteral("wml-catalog.xml"));
  QFile catalogFile(catalog);
  if (!catalogFile.open(QIODevice::WriteOnly))
    return {};
  catalogFile.write("<?xml version=\"1.0\"?>\n"
                    "<catalog xmlns=\"urn:oasis:names:tc:entity:xmlns:xml:catalog\">\n"
                    "  <public publicId=\"-//WAPFORUM//DTD WML 1.1//EN\" uri=\"file://" +
                    dtd.toUtf8() + "\"/>\n</catalog>\n");
  return catalog;
}

void runXmllintDtdValid(const QString& xmllint, const QString& catalog, const QString& dtd,
                        const QStringList& files) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XML_CATALOG_FILES"), catalog);
  process.setProcessEnvironment(environment);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(xmllint,
                QStringList{QStringLiteral("--noout"), QStringLiteral("--nonet"),
                            QStringLiteral("--loaddtd"), QStringLiteral("--dtdvalid"), dtd} +
                    files);
  process.waitForFinished(-1);
}

} // namespace bench
