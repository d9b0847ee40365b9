// Checking a deck against xmllint validating the same text with the same
// document type, and typing at the end of a large deck with checking while
// typing on against off.
#include "Bench.h"
#include "Fixture.h"
#include "SampleWml.h"

#include "document/FileCodec.h"
#include "wml/DtdFiles.h"
#include "wml/check/DeckChecker.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstdio>

namespace {

constexpr int kLargestCheckedMb = 10;
constexpr int kInsertions = 40;
const QString kPiece = QStringLiteral("<p align=\"left\"></p>"); // 20 characters

} // namespace

BENCH_FIGURE(deckCheck, 70) {
  const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
  const QString catalog = bench::writeWmlCatalog(context.workDir);
  if (xmllint.isEmpty() || catalog.isEmpty()) {
    std::fprintf(stderr, "deckCheck: xmllint (libxml2-utils) is needed\n");
    context.add({QStringLiteral("checking a deck vs xmllint --dtdvalid"), {}, 1, 0, 1.5});
    return;
  }
  const QString dtd = QDir(context.workDir).filePath(QStringLiteral("wml11.dtd"));
  for (const int mb : context.sizesMb) {
    if (mb > kLargestCheckedMb)
      continue;
    const QString path = context.sampleFile(mb);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
      continue;
    QString text = tessera::decodeDocument(file.readAll()).text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); // as the editor's snapshot
    const auto ours = [&] {
      const QList<tessera::wml::Finding> findings = tessera::wml::check::checkDeck(text);
      if (findings.size() != 1) // the last card's link to the card after it
        std::fprintf(stderr, "deckCheck: %d findings\n", int(findings.size()));
    };
    const auto reference = [&] {
      bench::runXmllintDtdValid(xmllint, catalog, dtd, QStringList{path});
    };
    double oursMs = 0, referenceMs = 0;
    bench::bestOfAlternating(bench::Context::runsFor(mb), ours, reference, &oursMs, &referenceMs);
    context.add({QStringLiteral("checking a deck vs xmllint --dtdvalid"),
                 bench::Context::sizeLabel(mb), oursMs, referenceMs, 1.5});
  }
}

BENCH_FIGURE(typingWithLiveCheck, 71) {
  int mb = 0;
  for (const int size : context.sizesMb)
    if (size <= kLargestCheckedMb)
      mb = std::max(mb, size);
  if (mb == 0)
    return;
  bench::AppWindow app;
  app.load(context.sampleFile(mb));
  double on = 0, off = 0;
  bench::typingWithAndWithoutLiveCheck(app, kPiece, kInsertions, &on, &off);
  context.add({QStringLiteral("20-character insertion at the end, checking while typing on vs "
                              "off"),
               bench::Context::sizeLabel(mb), on, off, 1.2});
  app.clear();
}
