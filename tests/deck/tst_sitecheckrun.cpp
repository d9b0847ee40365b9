#include "TestServices.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "deck/BinaryInspection.h"
#include "deck/DeckChecking.h"
#include "deck/ProblemsDock.h"
#include "deck/ProblemsList.h"
#include "deck/SiteCheckRun.h"
#include "deck/SiteChecking.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "wml/check/DeckChecker.h"

#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

// Checking a folder as a site (files read as the editor reads them, links
// followed inside, the unsaved text standing for its file), the real
// corpus as one site, and Check Site in the main window.
class SiteCheckRunTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void readsTheFolder_data();
  void readsTheFolder();
  void corpusAsOneSite();
  void childThatStopsCostsOnlyItsFile();
  void startupArguments_data();
  void startupArguments();
  void menuItemFollowsTheCheckItems();
  void groupsFindingsByFileWithTheEditorsText();
  void findingOfAnotherFileOpensANewInstance();
  void documentWithoutAFileAsksForAFolder();
  void startsAtALineAndColumn();

private:
  QTemporaryDir dir_;
};

namespace {

const QByteArray kHeader = "<?xml version=\"1.0\"?>\n"
                           "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                           "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
                           "<wml>\n";

void write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray deck(const QByteArray& card) { return kHeader + card + "\n</wml>\n"; }

QStringList shown(const QList<wml::site::SiteFinding>& findings) {
  QStringList lines;
  for (const wml::site::SiteFinding& found : findings)
    lines.append(QStringLiteral("%1:%2:%3 [%4]")
                     .arg(found.path)
                     .arg(found.finding.start.line)
                     .arg(found.finding.start.column)
                     .arg(found.finding.rule));
  return lines;
}

QString corpusFolder() {
  const QString configured = qEnvironmentVariable("TESSERA_CORPUS");
  if (!configured.isEmpty())
    return configured + QStringLiteral("/wml");
  return QStringLiteral(TESSERA_SOURCE_DIR "/../shared/corpus/wml");
}

} // namespace

void SiteCheckRunTest::initTestCase() {
  QVERIFY(dir_.isValid());
  const QString site = dir_.filePath("site/");
  write(site + "index.wml", deck("<card id=\"i\" title=\"I\">\n"
                                 "<p><a href=\"sub/a.wml#gone\">a</a></p>\n</card>"));
  write(site + "sub/a.wml", deck("<card id=\"a\" title=\"A\"><p>a</p></card>"));
  // A Latin-1 deck declared so: read in its encoding, its card found.
  write(site + "latin.wml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n" +
                                deck("<card id=\"cafe\" title=\"Caf\xE9\"><p>x</p></card>")
                                    .mid(QByteArray("<?xml version=\"1.0\"?>\n").size()));
  write(site + ".hidden/secret.wml", "<wml>");
  QVERIFY(QFile::link(site + "sub", site + "same")); // inside: followed
  QVERIFY(QFile::link(site, site + "sub/loop"));     // a loop: read once
}

void SiteCheckRunTest::readsTheFolder_data() {
  QTest::addColumn<QString>("unsavedIndex");
  QTest::addColumn<QStringList>("expected");

  QTest::newRow("files as saved") << QString()
                                  << QStringList{"index.wml:5:4 [dangling-card-link]",
                                                 "latin.wml:1:1 [unreachable-file]",
                                                 "same/a.wml:1:1 [unreachable-file]"};
  QTest::newRow("the editor's text")
      << QString::fromUtf8(deck("<card id=\"i\" title=\"I\">\n<p><a href=\"latin.wml#cafe\">"
                                "l</a>\n<a href=\"/same/a.wml#a\">a</a>\n"
                                "<a href=\"latin.wml#caf%C3%A9\">x</a></p>\n</card>"))
      << QStringList{"index.wml:7:1 [dangling-card-link]", "sub/a.wml:1:1 [unreachable-file]"};
}

void SiteCheckRunTest::readsTheFolder() {
  QFETCH(QString, unsavedIndex);
  QFETCH(QStringList, expected);
  SiteCheckRequest request;
  request.folder = dir_.filePath("site");
  if (!unsavedIndex.isEmpty())
    request.unsavedTexts.insert(dir_.filePath("site/index.wml"), unsavedIndex);
  const SiteCheckResult result = checkSiteFolder(request);
  QVERIFY(result.error.isEmpty());
  QCOMPARE(shown(result.findings).join(u'\n'), expected.join(u'\n'));
  // index, latin, sub/a and same/a: the loop and the hidden folder add none.
  QCOMPARE(result.decks, 4);
}

void SiteCheckRunTest::corpusAsOneSite() {
  const QString folder = corpusFolder();
  if (!QFileInfo(folder).isDir())
    QSKIP("the shared corpus is not beside the source tree");
  SiteCheckRequest request;
  request.folder = folder;
  const SiteCheckResult result = checkSiteFolder(request);
  QVERIFY(result.error.isEmpty());
  QCOMPARE(result.fileCount(), QDir(folder).entryList({"*.wml"}, QDir::Files).size());
  // Nothing between the decks is wrong: every finding is a deck's own, but
  // the note that there is no index deck to start from.
  const QStringList crossFile{"broken-deck-link", "unknown-script-function", "wrong-argument-count",
                              "bad-script-call",  "access-denied",           "picture-too-large",
                              "bad-picture",      "bad-compiled-deck",       "bad-bytecode",
                              "unreadable-file",  "unreachable-file"};
  for (const wml::site::SiteFinding& found : result.findings) {
    QVERIFY2(!crossFile.contains(found.finding.rule), qPrintable(found.path));
    // A card link into another deck would name it; these are all within one.
    if (found.finding.rule == QLatin1String("dangling-card-link"))
      QVERIFY2(found.finding.message.contains(QLatin1String("no card has the id")),
               qPrintable(found.finding.message));
  }
  QCOMPARE(result.findings.constFirst().finding.rule, QStringLiteral("no-entry-deck"));
  QVERIFY(result.summary().startsWith(
      QStringLiteral("Checked %1 files (%1 decks, 0 scripts, 0 pictures): ")
          .arg(result.fileCount())));
}

void SiteCheckRunTest::childThatStopsCostsOnlyItsFile() {
  // A decoder that ends without a word: each file in turn is taken as the
  // one that stopped it, and the rest go to a new one.
  const QStringList files{"/a.wbmp", "/b.wmlc", "/c.wmlsc"};
  const QHash<QString, QJsonObject> found = inspectInChildren("/bin/false", files);
  QCOMPARE(found.size(), 3);
  for (const QString& file : files)
    QCOMPARE(found.value(file).value("error").toString(), "decoding it stopped the decoder");
  const QHash<QString, QJsonObject> none = inspectInChildren(dir_.filePath("no-program"), files);
  QCOMPARE(none.value("/b.wmlc").value("error").toString(), "the decoder could not be started");
}

void SiteCheckRunTest::startupArguments_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<bool>("valid");
  QTest::addColumn<QString>("file");
  QTest::addColumn<int>("line");
  QTest::addColumn<int>("column");

  QTest::newRow("file alone") << QStringList{"a.wml"} << true << "a.wml" << 0 << 0;
  QTest::newRow("line and column")
      << QStringList{"--line", "12", "--column", "7", "a.wml"} << true << "a.wml" << 12 << 7;
  QTest::newRow("after the file") << QStringList{"a.wml", "--line", "3"} << true << "a.wml" << 3
                                  << 0;
  QTest::newRow("nothing") << QStringList{} << true << "" << 0 << 0;
  QTest::newRow("not a number") << QStringList{"--line", "x", "a.wml"} << false << "" << 0 << 0;
  QTest::newRow("line 0") << QStringList{"--line", "0", "a.wml"} << false << "" << 0 << 0;
  QTest::newRow("no value") << QStringList{"a.wml", "--column"} << false << "" << 0 << 0;
  QTest::newRow("other option") << QStringList{"--frob", "a.wml"} << false << "" << 0 << 0;
}

void SiteCheckRunTest::startupArguments() {
  QFETCH(QStringList, arguments);
  QFETCH(bool, valid);
  QFETCH(QString, file);
  QFETCH(int, line);
  QFETCH(int, column);
  QString said;
  QTextStream err(&said);
  const auto request = startupRequest(QStringList{"tessera"} + arguments, err);
  QCOMPARE(request.has_value(), valid);
  QCOMPARE(said.isEmpty(), valid);
  if (!request)
    return;
  QCOMPARE(request->file, file);
  QCOMPARE(request->place, (LineColumn{line, column}));
}

void SiteCheckRunTest::menuItemFollowsTheCheckItems() {
  TestServices t;
  MainWindow w(t.services());
  auto* menu = w.findChild<QMenu*>("DeckMenu");
  QStringList names;
  for (QAction* action : menu->actions())
    names.append(action->objectName());
  QCOMPARE(names.mid(0, 3), (QStringList{"CheckDeck1", "LiveCheck1", "CheckSite1"}));
  auto* item = w.findChild<QAction*>("CheckSite1");
  QCOMPARE(item->text(), "Check &Site...");
  QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F8));
}

void SiteCheckRunTest::groupsFindingsByFileWithTheEditorsText() {
  TestServices t;
  MainWindow w(t.services());
  w.resize(MainWindow::kStartSize);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QVERIFY(w.loadStartupFile(dir_.filePath("site/index.wml")));
  // Fixed in the editor, not on disk: the editor's text is what is checked.
  w.editor()->textDocument().replaceWholeText(
      QString::fromUtf8(deck("<card id=\"i\" title=\"I\">\n<p><a href=\"sub/a.wml#a\">a</a>\n"
                             "<a href=\"latin.wml#none\">l</a></p>\n</card>")));
  QSignalSpy done(w.siteChecking(), &SiteChecking::finished);
  w.findChild<QAction*>("CheckSite1")->trigger();
  QVERIFY(done.wait(30000));
  auto* dock = w.findChild<ProblemsDock*>("ProblemsDock");
  auto* list = w.findChild<ProblemsList*>("ProblemsList");
  QVERIFY(dock->isVisible());
  QStringList groups;
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    groups.append(list->topLevelItem(i)->text(0));
  QCOMPARE(groups, (QStringList{"index.wml (1 error)", "same/a.wml (1 note)"}));
  const QTreeWidgetItem* error = list->topLevelItem(0)->child(0);
  QCOMPARE(error->text(ProblemsList::LineNumberColumn), "6");
  QCOMPARE(error->text(ProblemsList::ColumnNumberColumn), "1");
  QCOMPARE(error->text(ProblemsList::SeverityColumn), "error");
  QVERIFY(
      dock->findChild<QLabel*>("ProblemsSummary")
          ->text()
          .endsWith(
              "Checked 4 files (4 decks, 0 scripts, 0 pictures): 1 error, 0 warnings, 1 note."));
  // The editor keeps most of the window.
  QVERIFY2(dock->height() < w.height() / 3, qPrintable(QString::number(dock->height())));

  // A finding of the edited document moves its caret.
  list->setCurrentItem(const_cast<QTreeWidgetItem*>(error));
  emit list->itemActivated(const_cast<QTreeWidgetItem*>(error), 0);
  QCOMPARE(w.editor()->textCursor().blockNumber(), 5);
  QCOMPARE(w.editor()->textCursor().positionInBlock(), 0);
  QVERIFY(t.shell.started.isEmpty());

  // Check Deck gives back the deck's own flat list.
  w.findChild<QAction*>("CheckDeck1")->trigger();
  QVERIFY(!list->showsSite());
  QVERIFY(!dock->findChild<QLabel*>("ProblemsSummary")->isVisible());
}

void SiteCheckRunTest::findingOfAnotherFileOpensANewInstance() {
  TestServices t;
  MainWindow w(t.services());
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QVERIFY(w.loadStartupFile(dir_.filePath("site/sub/a.wml")));
  QSignalSpy done(w.siteChecking(), &SiteChecking::finished);
  w.siteChecking()->checkFolder(dir_.filePath("site"));
  QVERIFY(done.wait(30000));
  auto* list = w.findChild<ProblemsList*>("ProblemsList");
  QTreeWidgetItem* index = list->topLevelItem(0);
  QCOMPARE(index->text(0), "index.wml (1 error)");
  emit list->itemActivated(index->child(0), 0);
  QCOMPARE(t.shell.started.size(), 1);
  QCOMPARE(t.shell.started.at(0).mid(1),
           (QStringList{"--line", "5", "--column", "4", dir_.filePath("site/index.wml")}));
  // The group row itself opens nothing.
  emit list->itemActivated(index, 0);
  QCOMPARE(t.shell.started.size(), 1);
}

void SiteCheckRunTest::documentWithoutAFileAsksForAFolder() {
  TestServices t;
  MainWindow w(t.services());
  t.prompts.answerFile(dir_.filePath("site/sub"));
  QSignalSpy done(w.siteChecking(), &SiteChecking::finished);
  w.findChild<QAction*>("CheckSite1")->trigger();
  QCOMPARE(t.prompts.asked.size(), 1);
  QCOMPARE(t.prompts.asked.at(0).kind, ScriptedPrompts::Asked::Folder);
  QVERIFY(done.wait(30000));
  QVERIFY(w.siteChecking()->lastResult().folder.endsWith("site/sub"));
  // Cancelled: nothing is checked.
  t.prompts.answerFile(QString());
  w.findChild<QAction*>("CheckSite1")->trigger();
  QVERIFY(!w.siteChecking()->running());
}

void SiteCheckRunTest::startsAtALineAndColumn() {
  TestServices t;
  MainWindow w(t.services());
  w.resize(MainWindow::kStartSize);
  QVERIFY(w.loadStartupFileAt(dir_.filePath("site/index.wml"), {5, 4}));
  w.show();
  QTRY_COMPARE(w.editor()->textCursor().blockNumber(), 4);
  QCOMPARE(w.editor()->textCursor().positionInBlock(), 3);
  // The status line tells the row as the shown window lays it out: the long
  // DOCTYPE line above takes one row there, not the two of a window not yet
  // laid out.
  QCOMPARE(w.findChild<QLabel*>("StatusPanel1")->text(), "Row: 5");
}

QTEST_MAIN(SiteCheckRunTest)
#include "tst_sitecheckrun.moc"
