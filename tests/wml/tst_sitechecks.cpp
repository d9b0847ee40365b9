#include "wml/site/FileSummaries.h"
#include "wml/site/SiteAddress.h"

#include <QTest>

using namespace tessera::wml;
using namespace tessera::wml::site;

Q_DECLARE_METATYPE(tessera::wml::site::LinkTarget::Kind)
Q_DECLARE_METATYPE(std::optional<QString>)

// The rules between the files of a site, over summaries made from texts in
// the test: each cross-file fault with its exact file, line and column.
class SiteChecksTest : public QObject {
  Q_OBJECT
private slots:
  void resolvesLinks_data();
  void resolvesLinks();
  void accessPragmas_data();
  void accessPragmas();
  void crossFileFindings_data();
  void crossFileFindings();
  void reachability_data();
  void reachability();
  void oneFileStandsForItsPath_data();
  void oneFileStandsForItsPath();
};

namespace {

// Line 1: XML declaration, line 2: DOCTYPE, line 3: <wml>; the body starts
// on line 4.
QString deck(const QString& body) {
  return QStringLiteral("<?xml version=\"1.0\"?>\n"
                        "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                        "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
                        "<wml>\n") +
         body + QStringLiteral("\n</wml>\n");
}

FileSummary compiledScript(const QString& path, QList<ScriptFunction> externs,
                           std::optional<ScriptAccess> access = std::nullopt) {
  FileSummary summary;
  summary.path = path;
  summary.kind = FileKind::CompiledScript;
  summary.interfaceKnown = true;
  summary.externs = std::move(externs);
  summary.access = std::move(access);
  return summary;
}

FileSummary picture(const QString& path, QSize size) {
  FileSummary summary;
  summary.path = path;
  summary.kind = FileKind::Picture;
  summary.pictureSize = size;
  return summary;
}

// "path:line:column: severity [rule]", one a finding.
QStringList shown(const QList<SiteFinding>& findings) {
  QStringList lines;
  for (const SiteFinding& found : findings)
    lines.append(QStringLiteral("%1:%2:%3: %4 [%5]")
                     .arg(found.path)
                     .arg(found.finding.start.line)
                     .arg(found.finding.start.column)
                     .arg(severityName(found.finding.severity), found.finding.rule));
  return lines;
}

// The index deck links to every other file, so only the finding under test
// is left.
Site siteOf(const QList<QPair<QString, QString>>& decks, QList<FileSummary> others = {}) {
  Site site;
  for (const auto& [path, body] : decks)
    site.files.append(summariseDeck(path, deck(body), QString(), 0));
  site.files += others;
  return site;
}

} // namespace

void SiteChecksTest::resolvesLinks_data() {
  QTest::addColumn<QString>("from");
  QTest::addColumn<QString>("link");
  QTest::addColumn<LinkTarget::Kind>("kind");
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("fragment");

  using K = LinkTarget::Kind;
  QTest::newRow("beside") << "index.wml"
                          << "news.wml#top" << K::InSite << "news.wml"
                          << "top";
  QTest::newRow("from a sub-folder") << "a/b/deck.wml"
                                     << "../pic/logo.wbmp" << K::InSite << "a/pic/logo.wbmp"
                                     << "";
  QTest::newRow("root-relative") << "a/deck.wml"
                                 << "/index.wml#menu" << K::InSite << "index.wml"
                                 << "menu";
  QTest::newRow("query dropped") << "index.wml"
                                 << "s.wml?x=1#c" << K::InSite << "s.wml"
                                 << "c";
  QTest::newRow("escaped name") << "index.wml"
                                << "my%20deck.wml" << K::InSite << "my deck.wml"
                                << "";
  QTest::newRow("call keeps escapes") << "index.wml"
                                      << "calc.wmls#f('a%20b')" << K::InSite << "calc.wmls"
                                      << "f('a%20b')";
  QTest::newRow("same deck") << "index.wml"
                             << "#menu" << K::SameDeck << ""
                             << "menu";
  QTest::newRow("above the site") << "a/deck.wml"
                                  << "../../x.wml" << K::Outside << ""
                                  << "";
  QTest::newRow("root-relative above") << "deck.wml"
                                       << "/../x.wml" << K::Outside << ""
                                       << "";
  QTest::newRow("another scheme") << "index.wml"
                                  << "http://example.com/x.wml" << K::Elsewhere << ""
                                  << "";
  QTest::newRow("telephone") << "index.wml"
                             << "wtai://wp/mc;123" << K::Elsewhere << ""
                             << "";
  QTest::newRow("another host") << "index.wml"
                                << "//example.com/x.wml" << K::Elsewhere << ""
                                << "";
  QTest::newRow("variable") << "index.wml"
                            << "$(next).wml" << K::Elsewhere << ""
                            << "";
}

void SiteChecksTest::resolvesLinks() {
  QFETCH(QString, from);
  QFETCH(QString, link);
  QFETCH(LinkTarget::Kind, kind);
  QFETCH(QString, path);
  QFETCH(QString, fragment);
  const LinkTarget target = resolveLink(from, link);
  QCOMPARE(target.kind, kind);
  QCOMPARE(target.path, path);
  if (kind == LinkTarget::Kind::InSite || kind == LinkTarget::Kind::SameDeck)
    QCOMPARE(target.fragment, fragment);
}

void SiteChecksTest::accessPragmas_data() {
  QTest::addColumn<std::optional<QString>>("domain");
  QTest::addColumn<std::optional<QString>>("path");
  QTest::addColumn<QString>("caller");
  QTest::addColumn<bool>("allowed");

  const std::optional<QString> none;
  QTest::newRow("defaults: the same host, any path") << none << none << "deep/in/site.wml" << true;
  QTest::newRow("another domain") << std::optional<QString>("example.com") << none << "index.wml"
                                  << false;
  QTest::newRow("whole labels only")
      << std::optional<QString>("host") << none << "index.wml" << false;
  QTest::newRow("path prefix") << none << std::optional<QString>("/shop") << "shop/cart.wml"
                               << true;
  QTest::newRow("path outside") << none << std::optional<QString>("/shop") << "index.wml" << false;
  QTest::newRow("whole segments only")
      << none << std::optional<QString>("/shop") << "shopping/x.wml" << false;
  QTest::newRow("relative to the script's folder")
      << none << std::optional<QString>("cart") << "scripts/cart/a.wml" << true;
  QTest::newRow("relative, elsewhere")
      << none << std::optional<QString>("cart") << "cart/a.wml" << false;
}

void SiteChecksTest::accessPragmas() {
  QFETCH(std::optional<QString>, domain);
  QFETCH(std::optional<QString>, path);
  QFETCH(QString, caller);
  QFETCH(bool, allowed);
  QCOMPARE(accessAllows(ScriptAccess{domain, path}, QStringLiteral("scripts/s.wmlsc"), caller),
           allowed);
}

void SiteChecksTest::crossFileFindings_data() {
  QTest::addColumn<QString>("index");
  QTest::addColumn<QStringList>("expected");

  const auto card = [](const QString& content) {
    return QStringLiteral("<card id=\"i\">\n<p>") + content + QStringLiteral("</p>\n</card>");
  };
  // Each link is on line 5, its element at the column given.
  QTest::newRow("card of another deck") << card("<a href=\"other.wml#gone\">x</a>")
                                        << QStringList{"index.wml:5:4: error [dangling-card-link]"};
  QTest::newRow("card that exists") << card("<a href=\"other.wml#there\">x</a>") << QStringList{};
  QTest::newRow("card named by a variable")
      << card("<a href=\"other.wml#$(c)\">x</a>") << QStringList{};
  QTest::newRow("deck that does not parse")
      << card("<a href=\"sub/broken.wml\">x</a>")
      << QStringList{"index.wml:5:4: error [broken-deck-link]"};
  QTest::newRow("root-relative to a missing file")
      << card("<a href=\"/nowhere.wml\">x</a>")
      << QStringList{"index.wml:5:4: warning [missing-file]"};
  QTest::newRow("root-relative to a file of another kind")
      << card("<a href=\"/readme.txt\">x</a>") << QStringList{};
  QTest::newRow("unknown script function")
      << card("<a href=\"/calc.wmlsc#nothing()\">x</a>")
      << QStringList{"index.wml:5:4: error [unknown-script-function]"};
  QTest::newRow("argument count") << card("<a href=\"/calc.wmlsc#total(1)\">x</a>")
                                  << QStringList{"index.wml:5:4: error [wrong-argument-count]"};
  QTest::newRow("call that fits") << card("<a href=\"/calc.wmlsc#total(1,%20'b')\">x</a>")
                                  << QStringList{};
  QTest::newRow("call without a function") << card("<a href=\"/calc.wmlsc\">x</a>")
                                           << QStringList{"index.wml:5:4: error [bad-script-call]"};
  QTest::newRow("compiled unit beside the deck")
      << card("<a href=\"calc.wmlsc#nothing()\">x</a>")
      << QStringList{"index.wml:5:4: error [unknown-script-function]"};
  QTest::newRow("access refused") << card("<a href=\"locked.wmlsc#f()\">x</a>")
                                  << QStringList{"index.wml:5:4: error [access-denied]"};
  QTest::newRow("script from the site's root")
      << card("<a href=\"/scripts/lib.wmls#add(1)\">x</a>")
      << QStringList{"index.wml:5:4: error [wrong-argument-count]"};
  QTest::newRow("variables stand for arguments")
      << card("<a href=\"/scripts/lib.wmls#add($(x),%20'$y')\">x</a>") << QStringList{};
  QTest::newRow("script beside the deck")
      << card("<a href=\"scripts/lib.wmls#add(1)\">x</a>")
      << QStringList{"index.wml:5:4: error [wrong-argument-count]"};
  QTest::newRow("unit that does not compile")
      << card("<a href=\"/scripts/broken.wmls#f()\">x</a>")
      << QStringList{"index.wml:5:4: error [script-does-not-compile]"};
  QTest::newRow("access pragma of a source") << card("<a href=\"scripts/guarded.wmls#g()\">x</a>")
                                             << QStringList{"index.wml:5:4: error [access-denied]"};
  QTest::newRow("picture too large") << card("<img src=\"wide.wbmp\" alt=\"w\"/>")
                                     << QStringList{"index.wml:5:4: warning [picture-too-large]"};
  QTest::newRow("picture that fits")
      << card("<img src=\"small.wbmp\" alt=\"s\"/>") << QStringList{};
  QTest::newRow("picture that does not decode")
      << card("<img src=\"bad.png\" alt=\"b\"/>")
      << QStringList{"index.wml:5:4: error [bad-picture]"};
}

void SiteChecksTest::crossFileFindings() {
  QFETCH(QString, index);
  QFETCH(QStringList, expected);
  Site site = siteOf(
      {{"index.wml", index},
       {"other.wml", "<card id=\"there\"><p>x</p></card>"},
       {"sub/broken.wml", "<card id=\"b\"><p>x</card>"}},
      {compiledScript("calc.wmlsc", {{"total", 2}}),
       compiledScript("locked.wmlsc", {{"f", 0}}, ScriptAccess{QStringLiteral("example.com"), {}}),
       picture("wide.wbmp", QSize(129, 40)), picture("small.wbmp", QSize(128, 128)),
       unreadableFile("bad.png", FileKind::Picture, "not a picture"),
       summariseScript("scripts/lib.wmls", "extern function add(a, b) { return a + b; }\n"),
       summariseScript("scripts/broken.wmls", "extern function f( { }\n"),
       summariseScript("scripts/guarded.wmls",
                       "use access domain \"example.com\";\nextern function g() { return 1; }\n")});
  site.otherFiles.insert("readme.txt");
  SiteOptions options;
  options.screen = QSize(128, 128);
  QStringList found;
  // What nothing reaches is another test's, the broken deck's own errors the
  // deck checker's.
  for (const QString& line : shown(checkSite(site, options)))
    if (!line.endsWith("[unreachable-file]") && !line.startsWith("sub/broken.wml:") &&
        !line.startsWith("scripts/broken.wmls:"))
      found.append(line);
  // The broken picture is reported at its file only when no deck shows it.
  if (!index.contains("bad.png"))
    expected.append("bad.png:1:1: error [bad-picture]");
  expected.sort();
  found.sort();
  QCOMPARE(found.join(u'\n'), expected.join(u'\n'));
}

void SiteChecksTest::reachability_data() {
  QTest::addColumn<QString>("entry");
  QTest::addColumn<QStringList>("notes");

  QTest::newRow("index reaches through a deck")
      << "index.wml" << QStringList{"lone.wml:1:1: note [unreachable-file]"};
  QTest::newRow("another entry") << "b.wml"
                                 << QStringList{"index.wml:1:1: note [unreachable-file]",
                                                "lone.wml:1:1: note [unreachable-file]"};
  QTest::newRow("no entry deck") << "start.wml" << QStringList{":0:0: note [no-entry-deck]"};
}

void SiteChecksTest::reachability() {
  QFETCH(QString, entry);
  QFETCH(QStringList, notes);
  const Site site = siteOf({{"index.wml", "<card id=\"i\"><p><a href=\"a.wml\">a</a></p></card>"},
                            {"a.wml", "<card id=\"a\"><p><a href=\"/b.wml#b\">b</a></p></card>"},
                            {"b.wml", "<card id=\"b\" onenterforward=\"a.wml\">"
                                      "<p><img src=\"pic/p.wbmp\" alt=\"p\"/></p></card>"},
                            {"lone.wml", "<card id=\"l\"><p>l</p></card>"}},
                           {picture("pic/p.wbmp", QSize(8, 8))});
  SiteOptions options;
  options.entry = entry;
  QStringList found = shown(checkSite(site, options));
  QCOMPARE(found.join(u'\n'), notes.join(u'\n'));
}

// The edited document checked against the rest of the site as last read:
// its own findings, those of its links and whether the entry reaches it,
// nothing of the other files.
void SiteChecksTest::oneFileStandsForItsPath_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("body");
  QTest::addColumn<QString>("entry");
  QTest::addColumn<QStringList>("expected");

  QTest::newRow("link to a card the other deck lacks")
      << "index.wml"
      << "<card id=\"i\">\n<p><a href=\"a.wml#gone\">a</a></p></card>"
      << "index.wml" << QStringList{"index.wml:5:4: error [dangling-card-link]"};
  // The site's a.wml has the card "a": the edited one, without it, stands
  // for it; the index's link to it is the index's finding, not this one's.
  QTest::newRow("cards of the file replaced")
      << "a.wml"
      << "<card id=\"moved\"><p><a href=\"index.wml#i\">i</a></p></card>"
      << "index.wml" << QStringList{};
  QTest::newRow("own findings kept beside the links")
      << "index.wml"
      << "<card id=\"i\">\n<p><a href=\"a.wml#gone\">a</a></p></card>\n"
         "<card id=\"i\"><p>x</p></card>"
      << "index.wml"
      << QStringList{"index.wml:5:4: error [dangling-card-link]",
                     "index.wml:6:1: error [duplicate-card-id]"};
  QTest::newRow("a file the site did not have")
      << "new.wml"
      << "<card id=\"n\">\n<p><a href=\"a.wml#gone\">a</a></p></card>"
      << "index.wml"
      << QStringList{"new.wml:1:1: note [unreachable-file]",
                     "new.wml:5:4: error [dangling-card-link]"};
  QTest::newRow("entry deck linking no more") << "index.wml"
                                              << "<card id=\"i\"><p>none</p></card>"
                                              << "index.wml" << QStringList{};
  QTest::newRow("reached only through the old index") << "a.wml"
                                                      << "<card id=\"a\"><p>a</p></card>"
                                                      << "index.wml" << QStringList{};
  QTest::newRow("a file nothing reaches")
      << "lone.wml"
      << "<card id=\"l\"><p>l</p></card>"
      << "index.wml" << QStringList{"lone.wml:1:1: note [unreachable-file]"};
  QTest::newRow("no entry deck: nothing said of the site") << "lone.wml"
                                                           << "<card id=\"l\"><p>l</p></card>"
                                                           << "start.wml" << QStringList{};
  QTest::newRow("picture too large")
      << "a.wml"
      << "<card id=\"a\">\n<p><img src=\"wide.wbmp\" alt=\"w\"/></p></card>"
      << "index.wml" << QStringList{"a.wml:5:4: warning [picture-too-large]"};
}

void SiteChecksTest::oneFileStandsForItsPath() {
  QFETCH(QString, path);
  QFETCH(QString, body);
  QFETCH(QString, entry);
  QFETCH(QStringList, expected);
  const Site site = siteOf({{"index.wml", "<card id=\"i\"><p><a href=\"a.wml#a\">a</a></p></card>"},
                            {"a.wml", "<card id=\"a\"><p>a</p></card>"},
                            {"lone.wml", "<card id=\"l\"><p>l</p></card>"}},
                           {picture("wide.wbmp", QSize(200, 40))});
  SiteOptions options;
  options.entry = entry;
  options.screen = QSize(128, 128);
  const QList<Finding> found =
      checkFileInSite(site, options, summariseDeck(path, deck(body), QString(), 0));
  QStringList lines;
  for (const Finding& finding : found)
    lines.append(QStringLiteral("%1:%2:%3: %4 [%5]")
                     .arg(path)
                     .arg(finding.start.line)
                     .arg(finding.start.column)
                     .arg(severityName(finding.severity), finding.rule));
  QCOMPARE(lines.join(u'\n'), expected.join(u'\n'));
}

QTEST_APPLESS_MAIN(SiteChecksTest)
#include "tst_sitechecks.moc"
