// Checking a generated site of 300 decks and 30 scripts (about 3 MB) as one
// site, on both cores, against xmllint validating the same deck files with
// the same document type in one run.
#include "Bench.h"
#include "SampleWml.h"

#include "deck/SiteCheckRun.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstdio>

namespace {

constexpr int kDecks = 300;
constexpr int kScripts = 30;
constexpr int kCardsPerDeck = 8;

QByteArray deckText(int index) {
  QByteArray out = "<?xml version=\"1.0\"?>\n"
                   "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                   "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n<wml>\n";
  const QByteArray next = "d" + QByteArray::number((index + 1) % kDecks) + ".wml";
  const QByteArray script = "s" + QByteArray::number(index % kScripts) + ".wmls";
  for (int card = 0; card < kCardsPerDeck; ++card) {
    out += "<card id=\"c" + QByteArray::number(card) + "\" title=\"Deck " +
           QByteArray::number(index) + "\">\n<p>\n";
    // Text enough for about 10 KB a deck, with links to the next deck's
    // cards and a script call, so the rules between files have work.
    for (int line = 0; line < 20; ++line)
      out += "News of the day, weather &amp; prices for today and tomorrow.<br/>\n";
    out += "<a href=\"" + next + "#c" + QByteArray::number(card) + "\">Next</a>\n";
    out += "<a href=\"" + script + "#total(1, 2)\">Sum</a>\n";
    out += "</p>\n</card>\n";
  }
  out += "</wml>\n";
  return out;
}

QByteArray scriptText(int index) {
  QByteArray out = "extern function total(a, b) {\n  return a + b;\n}\n";
  for (int i = 0; i < 20; ++i)
    out += "function helper" + QByteArray::number(i) + "(x) {\n  var y = x * " +
           QByteArray::number(index + i) + ";\n  return y;\n}\n";
  return out;
}

// Writes the site once; the deck files' paths.
QStringList writeSite(const QString& folder) {
  QDir().mkpath(folder);
  QStringList decks;
  for (int i = 0; i < kDecks; ++i) {
    const QString path = QDir(folder).filePath(QStringLiteral("d%1.wml").arg(i));
    QFile file(path);
    if (!file.exists() && file.open(QIODevice::WriteOnly))
      file.write(deckText(i));
    decks.append(path);
  }
  for (int i = 0; i < kScripts; ++i) {
    QFile file(QDir(folder).filePath(QStringLiteral("s%1.wmls").arg(i)));
    if (!file.exists() && file.open(QIODevice::WriteOnly))
      file.write(scriptText(i));
  }
  // The entry deck reaches the first of the chain.
  QFile index(QDir(folder).filePath(QStringLiteral("index.wml")));
  if (!index.exists() && index.open(QIODevice::WriteOnly))
    index.write(deckText(kDecks - 1));
  decks.append(index.fileName());
  return decks;
}

} // namespace

BENCH_FIGURE(siteCheck, 72) {
  const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
  const QString catalog = bench::writeWmlCatalog(context.workDir);
  const QString label = QStringLiteral("checking a 300-deck site vs xmllint --dtdvalid");
  if (xmllint.isEmpty() || catalog.isEmpty()) {
    std::fprintf(stderr, "siteCheck: xmllint (libxml2-utils) is needed\n");
    context.add({label, {}, 1, 0, 1.0});
    return;
  }
  const QString folder = QDir(context.workDir).filePath(QStringLiteral("site"));
  const QStringList decks = writeSite(folder);
  const QString dtd = QDir(context.workDir).filePath(QStringLiteral("wml11.dtd"));
  const auto ours = [&] {
    tessera::SiteCheckRequest request;
    request.folder = folder;
    const tessera::SiteCheckResult result = tessera::checkSiteFolder(request);
    // A sound site: every deck read, nothing wrong between them.
    if (result.decks != kDecks + 1 || !result.findings.isEmpty())
      std::fprintf(stderr, "siteCheck: %d decks read, %d findings\n", result.decks,
                   int(result.findings.size()));
  };
  const auto reference = [&] { bench::runXmllintDtdValid(xmllint, catalog, dtd, decks); };
  double oursMs = 0, referenceMs = 0;
  bench::bestOfAlternating(3, ours, reference, &oursMs, &referenceMs);
  context.add({label, QStringLiteral("%1 MB").arg(3), oursMs, referenceMs, 1.0});
}
