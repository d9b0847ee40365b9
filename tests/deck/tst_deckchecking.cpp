#include "TestServices.h"
#include "app/MainWindow.h"
#include "deck/DeckChecking.h"
#include "deck/DeckMenu.h"
#include "deck/DeckPreview.h"
#include "deck/DeckService.h"
#include "deck/PreviewWindow.h"
#include "deck/ProblemsDock.h"
#include "deck/ProblemsList.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "wml/ParsedDeck.h"
#include "wml/Positions.h"
#include "wml/VariableReferences.h"

#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

using namespace tessera;

// The Deck menu, the problems dock and checking while typing, in the main
// window.
class DeckCheckingTest : public QObject {
  Q_OBJECT
private slots:
  void menuSitsBetweenViewAndHelp();
  void dockHiddenUntilCheckDeck();
  void checkDeckListsFindingsInOrder();
  void validDeckShowsNoProblemsRow();
  void activatingARowPlacesTheCaret_data();
  void activatingARowPlacesTheCaret();
  void typingChecksAfterAPauseWithoutOpeningTheDock();
  void liveCheckingOffChecksNothing();
  void newerEditDiscardsAnOlderResult();
  void checksTheCharactersAsTyped();
  void openedFileIsCheckedAndLinksLookBesideIt();
  void oneParsePerRevisionWhateverIsOpen_data();
  void oneParsePerRevisionWhateverIsOpen();
};

namespace {

const QString kThreeErrors = QStringLiteral("<?xml version=\"1.0\"?>\n"
                                            "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                                            "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
                                            "<wml>\n"
                                            "<card id=\"first\" title=\"First\">\n"
                                            "<p align=\"middle\">Price: 5$</p>\n"
                                            "<p><a href=\"#second\">next</a></p>\n"
                                            "</card>\n"
                                            "</wml>\n");

QStringList rowTexts(const ProblemsList* list) {
  QStringList rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = list->topLevelItem(i);
    rows << QStringLiteral("%1|%2|%3|%4")
                .arg(item->text(0), item->text(1), item->text(2), item->text(3));
  }
  return rows;
}

DeckChecking* checkingOf(MainWindow& window) { return window.findChild<DeckChecking*>(); }

} // namespace

void DeckCheckingTest::menuSitsBetweenViewAndHelp() {
  TestServices t;
  MainWindow w(t.services());
  QStringList titles;
  for (QAction* action : w.menuBar()->actions())
    titles << action->menu()->objectName();
  const qsizetype deck = titles.indexOf("DeckMenu");
  QVERIFY(deck > 0);
  QCOMPARE(titles.at(deck - 1), QStringLiteral("View1"));
  QCOMPARE(titles.at(deck + 1), QStringLiteral("Help1"));
  auto* menu = w.findChild<DeckMenu*>("DeckMenu");
  QCOMPARE(menu->title(), QStringLiteral("Deck"));
  QVERIFY(menu->actions().size() >= 2); // the compiled-deck and preview items follow
  QAction* check = menu->actions().at(0);
  QAction* live = menu->actions().at(1);
  QCOMPARE(check->objectName(), QStringLiteral("CheckDeck1"));
  QCOMPARE(check->text(), QStringLiteral("&Check Deck"));
  QCOMPARE(check->shortcut(), QKeySequence(Qt::Key_F8));
  QCOMPARE(live->objectName(), QStringLiteral("LiveCheck1"));
  QCOMPARE(live->text(), QStringLiteral("Check While &Typing"));
  QVERIFY(live->isCheckable());
  QVERIFY(live->isChecked());
}

void DeckCheckingTest::dockHiddenUntilCheckDeck() {
  TestServices t;
  MainWindow w(t.services());
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  auto* dock = w.findChild<ProblemsDock*>("ProblemsDock");
  QVERIFY(dock);
  QCOMPARE(w.dockWidgetArea(dock), Qt::BottomDockWidgetArea);
  QVERIFY(!dock->isVisible());
  w.findChild<QAction*>("CheckDeck1")->trigger();
  QVERIFY(dock->isVisible());
}

void DeckCheckingTest::checkDeckListsFindingsInOrder() {
  TestServices t;
  MainWindow w(t.services());
  w.show();
  w.editor()->textDocument().replaceWholeText(kThreeErrors);
  w.findChild<QAction*>("CheckDeck1")->trigger();
  auto* list = w.findChild<ProblemsList*>("ProblemsList");
  QTRY_COMPARE(list->topLevelItemCount(), 3);
  QCOMPARE(rowTexts(list),
           QStringList({"5|1|error|The attribute \"align\" of <p> cannot be \"middle\"; it may be "
                        "\"left\", \"right\", \"center\".",
                        "5|27|error|Malformed variable reference in the text of <p>: a lone \"$\" "
                        "must be written \"$$\".",
                        "6|4|error|The href \"#second\" of <a> points to a card that does not "
                        "exist: no card has the id \"second\"."}));
  QStringList headers;
  for (int c = 0; c < list->columnCount(); ++c)
    headers << list->headerItem()->text(c);
  QCOMPARE(headers, QStringList({"Line", "Column", "Severity", "Message"}));
}

void DeckCheckingTest::validDeckShowsNoProblemsRow() {
  TestServices t;
  MainWindow w(t.services()); // the default document
  w.show();
  w.findChild<QAction*>("CheckDeck1")->trigger();
  auto* list = w.findChild<ProblemsList*>("ProblemsList");
  QTRY_COMPARE(rowTexts(list), QStringList({"|||No problems found"}));
  // Activating that row moves nothing.
  w.editor()->setSelection(tessera::TextPosition(5), 0);
  emit list->itemActivated(list->topLevelItem(0), 0);
  QCOMPARE(w.editor()->caretPosition().value, 5);
}

void DeckCheckingTest::activatingARowPlacesTheCaret_data() {
  QTest::addColumn<bool>("byKey");
  QTest::newRow("double click") << false;
  QTest::newRow("Enter") << true;
}

void DeckCheckingTest::activatingARowPlacesTheCaret() {
  QFETCH(bool, byKey);
  TestServices t;
  MainWindow w(t.services());
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  w.activateWindow();
  w.editor()->textDocument().replaceWholeText(kThreeErrors);
  w.findChild<QAction*>("CheckDeck1")->trigger();
  auto* list = w.findChild<ProblemsList*>("ProblemsList");
  QTRY_COMPARE(list->topLevelItemCount(), 3);
  QTreeWidgetItem* second = list->topLevelItem(1);
  list->setFocus();
  list->setCurrentItem(second);
  if (byKey) {
    QTest::keyClick(list, Qt::Key_Return);
  } else {
    list->scrollToItem(second);
    const QRect cell = list->visualItemRect(second);
    QVERIFY(list->viewport()->rect().contains(cell.center()));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  }
  const QTextCursor caret = w.editor()->textCursor();
  QCOMPARE(caret.blockNumber(), 4);
  QCOMPARE(caret.positionInBlock(), 26);
  QTRY_VERIFY(w.editor()->hasFocus());
}

void DeckCheckingTest::typingChecksAfterAPauseWithoutOpeningTheDock() {
  TestServices t;
  MainWindow w(t.services());
  w.show();
  DeckChecking* checking = checkingOf(w);
  QSignalSpy runs(checking, &DeckChecking::findingsChanged);
  w.editor()->textDocument().replaceWholeText(kThreeErrors);
  QTest::qWait(DeckService::kPauseMs / 2);
  QCOMPARE(runs.count(), 0); // not before the pause
  QTRY_COMPARE(runs.count(), 1);
  QCOMPARE(runs.at(0).at(0).value<QList<wml::Finding>>().size(), 3);
  QVERIFY(!checking->dock()->isVisible());
}

void DeckCheckingTest::liveCheckingOffChecksNothing() {
  TestServices t;
  MainWindow w(t.services());
  w.show();
  DeckChecking* checking = checkingOf(w);
  w.findChild<QAction*>("LiveCheck1")->setChecked(false);
  QSignalSpy runs(checking, &DeckChecking::findingsChanged);
  w.editor()->textDocument().replaceWholeText(kThreeErrors);
  checking->documentOpened();
  QTest::qWait(DeckService::kPauseMs * 2);
  QCOMPARE(runs.count(), 0);
  w.findChild<QAction*>("CheckDeck1")->trigger(); // still checks on demand
  QTRY_COMPARE(runs.count(), 1);
}

void DeckCheckingTest::newerEditDiscardsAnOlderResult() {
  // The edit made while a check runs makes its result stale: only the newer
  // text's result is published.
  TextDocument document;
  DeckService service(document);
  QSignalSpy results(&service, &DeckService::published);
  document.replaceWholeText(kThreeErrors);
  service.refreshNow(true);
  QVERIFY(service.busy());
  document.replaceWholeText(QStringLiteral("<wml><card><p>fine</p></card></wml>"));
  service.refreshNow(true); // waits for the busy run
  QTRY_COMPARE(results.count(), 1);
  const auto published = results.at(0).at(0).value<std::shared_ptr<const ParsedRevision>>();
  QCOMPARE(published->revision, document.revision());
  QTest::qWait(50);
  QCOMPARE(results.count(), 1);
  QCOMPARE(published->findings.size(), 1); // the DOCTYPE warning
}

void DeckCheckingTest::checksTheCharactersAsTyped() {
  // A no-break space is not a blank between a tag's name and its attribute:
  // the snapshot must not turn it into one.
  TestServices t;
  MainWindow w(t.services());
  QString text = kThreeErrors;
  text.replace(QStringLiteral("<p align=\"middle\">"), QStringLiteral("<p\u00a0align=\"left\">"));
  w.editor()->textDocument().replaceWholeText(text);
  QSignalSpy runs(checkingOf(w), &DeckChecking::findingsChanged);
  w.findChild<QAction*>("CheckDeck1")->trigger();
  QTRY_COMPARE(runs.count(), 1);
  const auto findings = runs.at(0).at(0).value<QList<wml::Finding>>();
  QVERIFY(!findings.isEmpty());
  QCOMPARE(findings[0].start.line, 5);
  QCOMPARE(findings[0].severity, wml::Severity::Error);
}

void DeckCheckingTest::openedFileIsCheckedAndLinksLookBesideIt() {
  QTemporaryDir dir;
  const QString path = dir.filePath("deck.wml");
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("<?xml version=\"1.0\"?>\r\n<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
             "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\r\n<wml><card id=\"a\"><p>\r\n"
             "<a href=\"here.wml\">1</a> <a href=\"gone.wml\">2</a></p></card></wml>\r\n");
  file.close();
  QFile here(dir.filePath("here.wml"));
  QVERIFY(here.open(QIODevice::WriteOnly));
  here.close();

  TestServices t;
  MainWindow w(t.services());
  w.show();
  QSignalSpy runs(checkingOf(w), &DeckChecking::findingsChanged);
  w.loadStartupFile(path);
  QCOMPARE(w.textDocument().filePath(), path);
  QTRY_COMPARE(runs.count(), 1); // at once, not after the typing pause
  const auto findings = runs.at(0).at(0).value<QList<wml::Finding>>();
  QCOMPARE(findings.size(), 1);
  QCOMPARE(findings[0].start.line, 4);
  QCOMPARE(findings[0].start.column, 26);
  QCOMPARE(findings[0].severity, wml::Severity::Warning);
  QVERIFY(findings[0].message.contains("\"gone.wml\""));

  w.findChild<QAction*>("Fjl2")->trigger(); // New: no file any more
  QVERIFY(w.textDocument().filePath().isEmpty());
}

void DeckCheckingTest::oneParsePerRevisionWhateverIsOpen_data() {
  QTest::addColumn<bool>("liveChecking");
  QTest::addColumn<bool>("previewShown");
  QTest::addColumn<bool>("problemsShown");
  QTest::newRow("nothing open, checking off") << false << false << false;
  QTest::newRow("checking while typing") << true << false << false;
  QTest::newRow("preview open") << false << true << false;
  QTest::newRow("everything open") << true << true << true;
}

// Checker, marks, size meter and preview all read one parse of each
// revision, and the one scan of its variable references made with it (the
// deck has a malformed one, so each of them has something to report).
void DeckCheckingTest::oneParsePerRevisionWhateverIsOpen() {
  QFETCH(bool, liveChecking);
  QFETCH(bool, previewShown);
  QFETCH(bool, problemsShown);
  TestServices t;
  MainWindow w(t.services());
  w.show();
  w.findChild<QAction*>("LiveCheck1")->setChecked(liveChecking);
  if (previewShown)
    w.findChild<DeckPreview*>()->previewAction()->setChecked(true);
  if (problemsShown)
    w.findChild<QAction*>("CheckDeck1")->trigger();
  DeckService* service = w.deckService();
  QTRY_VERIFY(!service->busy());
  QTest::qWait(DeckService::kPauseMs * 2);
  for (int edit = 0; edit < 3; ++edit) {
    QSignalSpy published(service, &DeckService::published);
    const quint64 before = wml::parsesSoFar();
    const quint64 scansBefore = wml::variableScansSoFar();
    w.editor()->textDocument().replaceWholeText(kThreeErrors + QString(edit + 1, u' '));
    QTRY_COMPARE(published.count(), 1);
    QTest::qWait(DeckService::kPauseMs * 2); // nobody parses it again later
    QCOMPARE(wml::parsesSoFar() - before, quint64(1));
    QCOMPARE(wml::variableScansSoFar() - scansBefore, quint64(1));
    QCOMPARE(published.count(), 1);
  }
}

QTEST_MAIN(DeckCheckingTest)
#include "tst_deckchecking.moc"
