#include "TestServices.h"
#include "app/MainWindow.h"
#include "deck/DeckChecking.h"
#include "deck/ErrorMarks.h"
#include "deck/ProblemsDock.h"
#include "deck/ProblemsList.h"
#include "deck/SiteChecking.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

using namespace tessera;

// After Check Site the live check of a document inside the checked folder
// runs the rules between files too: the document's group in the problems
// list follows what is typed, and a file of the site opened afterwards is
// marked with the findings other files cause.
class SiteLiveCheckTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void groupFollowsTyping_data();
  void groupFollowsTyping();
  void newCheckSiteReplacesEverything();
  void openedFileShowsCrossFileFindings_data();
  void openedFileShowsCrossFileFindings();

private:
  QTemporaryDir dir_;
};

namespace {

// Line 1: XML declaration, line 2: DOCTYPE, line 3: <wml>, line 4: the
// card's start tag, line 5 its content.
QByteArray deck(const QByteArray& id, const QByteArray& content) {
  return "<?xml version=\"1.0\"?>\n"
         "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
         "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
         "<wml>\n<card id=\"" +
         id + "\" title=\"T\">\n<p>" + content + "</p>\n</card>\n</wml>\n";
}

void write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QStringList groupsOf(const ProblemsList* list) {
  QStringList groups;
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    groups.append(list->topLevelItem(i)->text(ProblemsList::LineNumberColumn));
  return groups;
}

// The rows under the group that starts with `name`: "line:column severity".
QStringList rowsOf(const ProblemsList* list, const QString& name) {
  QStringList rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* group = list->topLevelItem(i);
    if (!group->text(ProblemsList::LineNumberColumn).startsWith(name + " ("))
      continue;
    for (int j = 0; j < group->childCount(); ++j) {
      const QTreeWidgetItem* row = group->child(j);
      rows.append(QStringLiteral("%1:%2 %3")
                      .arg(row->text(ProblemsList::LineNumberColumn),
                           row->text(ProblemsList::ColumnNumberColumn),
                           row->text(ProblemsList::SeverityColumn)));
    }
  }
  return rows;
}

QStringList shown(const QList<wml::Finding>& findings) {
  QStringList lines;
  for (const wml::Finding& finding : findings)
    lines.append(QStringLiteral("%1:%2: %3 [%4]")
                     .arg(finding.start.line)
                     .arg(finding.start.column)
                     .arg(wml::severityName(finding.severity), finding.rule));
  return lines;
}

QString summaryOf(MainWindow& w) {
  return w.findChild<ProblemsDock*>("ProblemsDock")->findChild<QLabel*>("ProblemsSummary")->text();
}

// Waits until the live check has published the document's revision as it
// is now.
bool waitForLiveCheck(MainWindow& w, QSignalSpy& checked) {
  const quint64 revision = w.editor()->textDocument().revision();
  for (int waited = 0; waited < 20000; waited += 50) {
    for (const QList<QVariant>& arguments : std::as_const(checked))
      if (arguments.at(1).toULongLong() == revision)
        return true;
    QTest::qWait(50);
  }
  return false;
}

// "<" gives "<>" in the editor with the caret between: the ">" that
// follows is already there, and the caret steps over it.
void typeAsAPerson(SourceEditor* editor, const QString& text) {
  for (const QChar c : text) {
    if (c == u'>')
      QTest::keyClick(editor, Qt::Key_Right);
    else
      QTest::keyClicks(editor, QString(c));
  }
}

bool checkSite(MainWindow& w, const QString& folder) {
  QSignalSpy done(w.siteChecking(), &SiteChecking::finished);
  w.siteChecking()->checkFolder(folder);
  return done.wait(30000);
}

const QString kIndexLine = QStringLiteral("<p><a href=\"a.wml#gone\">a</a> <a href=\"b.wml\">b</a> "
                                          "<a href=\"calc.wmls#add(1,2)\">c</a></p>");

} // namespace

void SiteLiveCheckTest::initTestCase() {
  QVERIFY(dir_.isValid());
  const QString site = dir_.filePath("site/");
  write(site + "index.wml", deck("i", kIndexLine.mid(3, kIndexLine.size() - 7).toUtf8()));
  write(site + "a.wml", deck("a", "<a href=\"index.wml#nowhere\">i</a>"));
  write(site + "b.wml", deck("b", "<a href=\"calc.wmls#add(1)\">c</a>"));
  write(site + "lone.wml", deck("l", "alone"));
  write(site + "calc.wmls", "extern function add(a, b) { return a + b; }\n");
  write(site + ".draft/x.wml", deck("x", "<a href=\"../a.wml#gone\">a</a>"));
  write(dir_.filePath("outside/x.wml"), deck("x", "<a href=\"../site/a.wml#gone\">a</a>"));
}

void SiteLiveCheckTest::groupFollowsTyping_data() {
  QTest::addColumn<QString>("find");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QStringList>("groups");
  QTest::addColumn<QStringList>("indexRows");
  QTest::addColumn<QString>("counts");

  const QStringList others{"a.wml (1 error)", "b.wml (1 error)"};
  const QString lone = "lone.wml (1 note)";
  QTest::newRow("link mended") << "#gone"
                               << "#a" << (others + QStringList{lone}) << QStringList{}
                               << "2 errors, 0 warnings, 1 note.";
  QTest::newRow("another broken link")
      << "</p>"
      << "<a href=\"a.wml#none\">n</a></p>" << (others + QStringList{"index.wml (2 errors)", lone})
      << QStringList{"5:4 error", "5:87 error"} << "4 errors, 0 warnings, 1 note.";
  QTest::newRow("script called with one argument too few")
      << "add(1,2)"
      << "add(1)" << (others + QStringList{"index.wml (2 errors)", lone})
      << QStringList{"5:4 error", "5:53 error"} << "4 errors, 0 warnings, 1 note.";
  // The lone deck is reached now, but its group is the site check's.
  QTest::newRow("link to the lone deck") << "a.wml#gone"
                                         << "lone.wml" << (others + QStringList{lone})
                                         << QStringList{} << "2 errors, 0 warnings, 1 note.";
  // A deck that does not parse has no links to follow: only its own fault.
  QTest::newRow("tag left open") << "</p>"
                                 << "<b></p>" << (others + QStringList{"index.wml (1 error)", lone})
                                 << QStringList{"5:87 error"} << "3 errors, 0 warnings, 1 note.";
  QTest::newRow("words only") << "</p>"
                              << " and more</p>"
                              << (others + QStringList{"index.wml (1 error)", lone})
                              << QStringList{"5:4 error"} << "3 errors, 0 warnings, 1 note.";
}

void SiteLiveCheckTest::groupFollowsTyping() {
  QFETCH(QString, find);
  QFETCH(QString, typed);
  QFETCH(QStringList, groups);
  QFETCH(QStringList, indexRows);
  QFETCH(QString, counts);
  TestServices t;
  MainWindow w(t.services());
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QVERIFY(w.loadStartupFile(dir_.filePath("site/index.wml")));
  QVERIFY(checkSite(w, dir_.filePath("site")));
  auto* list = w.findChild<ProblemsList*>("ProblemsList");
  QCOMPARE(groupsOf(list), (QStringList{"a.wml (1 error)", "b.wml (1 error)", "index.wml (1 error)",
                                        "lone.wml (1 note)"}));
  QVERIFY(summaryOf(w).endsWith(
      "Checked 5 files (4 decks, 1 script, 0 pictures): 3 errors, 0 warnings, 1 note."));

  QSignalSpy checked(w.findChild<DeckChecking*>(), &DeckChecking::findingsChanged);
  SourceEditor* editor = w.editor();
  const QTextCursor found = editor->document()->find(find);
  QVERIFY(!found.isNull());
  editor->setTextCursor(found);
  typeAsAPerson(editor, typed);
  QCOMPARE(editor->textCursor().block().text(), QString(kIndexLine).replace(find, typed));
  QVERIFY(waitForLiveCheck(w, checked));
  QCOMPARE(groupsOf(list), groups);
  QCOMPARE(rowsOf(list, "index.wml"), indexRows);
  QVERIFY2(summaryOf(w).endsWith(counts), qPrintable(summaryOf(w)));
  // The other files' rows are the site check's, still open at their places.
  QCOMPARE(rowsOf(list, "a.wml"), QStringList{"5:4 error"});
  QCOMPARE(rowsOf(list, "lone.wml"), QStringList{"1:1 note"});
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    QVERIFY(list->topLevelItem(i)->isExpanded());
}

void SiteLiveCheckTest::newCheckSiteReplacesEverything() {
  TestServices t;
  MainWindow w(t.services());
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QVERIFY(w.loadStartupFile(dir_.filePath("site/index.wml")));
  QVERIFY(checkSite(w, dir_.filePath("site")));
  QSignalSpy checked(w.findChild<DeckChecking*>(), &DeckChecking::findingsChanged);
  SourceEditor* editor = w.editor();
  editor->setTextCursor(editor->document()->find("a.wml#gone"));
  QTest::keyClicks(editor, "lone.wml");
  QVERIFY(waitForLiveCheck(w, checked));
  auto* list = w.findChild<ProblemsList*>("ProblemsList");
  QCOMPARE(groupsOf(list),
           (QStringList{"a.wml (1 error)", "b.wml (1 error)", "lone.wml (1 note)"}));
  // Check Site reads every file again: the lone deck is reached now.
  QVERIFY(checkSite(w, dir_.filePath("site")));
  QCOMPARE(groupsOf(list), (QStringList{"a.wml (1 error, 1 note)", "b.wml (1 error)"}));
  QVERIFY(summaryOf(w).endsWith(": 2 errors, 0 warnings, 1 note."));
}

void SiteLiveCheckTest::openedFileShowsCrossFileFindings_data() {
  QTest::addColumn<bool>("siteChecked");
  QTest::addColumn<QString>("file");
  QTest::addColumn<QStringList>("findings");

  QTest::newRow("card of another deck")
      << true << "site/a.wml" << QStringList{"5:4: error [dangling-card-link]"};
  QTest::newRow("script's argument count")
      << true << "site/b.wml" << QStringList{"5:4: error [wrong-argument-count]"};
  QTest::newRow("file nothing reaches")
      << true << "site/lone.wml" << QStringList{"1:1: note [unreachable-file]"};
  QTest::newRow("before any site check") << false << "site/a.wml" << QStringList{};
  QTest::newRow("outside the checked folder") << true << "outside/x.wml" << QStringList{};
  QTest::newRow("in a hidden folder") << true << "site/.draft/x.wml" << QStringList{};
}

void SiteLiveCheckTest::openedFileShowsCrossFileFindings() {
  QFETCH(bool, siteChecked);
  QFETCH(QString, file);
  QFETCH(QStringList, findings);
  TestServices t;
  MainWindow w(t.services());
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QVERIFY(w.loadStartupFile(dir_.filePath("site/index.wml")));
  if (siteChecked)
    QVERIFY(checkSite(w, dir_.filePath("site")));
  QSignalSpy checked(w.findChild<DeckChecking*>(), &DeckChecking::findingsChanged);
  t.prompts.answerFile(dir_.filePath(file));
  w.action(MainAction::Open)->trigger();
  QCOMPARE(w.editor()->textDocument().filePath(), dir_.filePath(file));
  QVERIFY(waitForLiveCheck(w, checked));
  const auto* checking = w.findChild<DeckChecking*>();
  QCOMPARE(shown(checking->lastFindings()), findings);
  // Each is marked in the text.
  const auto* marks = w.findChild<ErrorMarks*>();
  QCOMPARE(marks->count(), findings.size());
  if (!findings.isEmpty()) {
    const QString message = checking->lastFindings().constFirst().message;
    QCOMPARE(marks->messageAt(marks->range(0).first), message);
  }
  // The site's list stays, the opened file's group as its check says.
  auto* list = w.findChild<ProblemsList*>("ProblemsList");
  QCOMPARE(list && list->showsSite(), siteChecked);
  if (siteChecked && file.startsWith("site/") && !file.contains("/."))
    QCOMPARE(rowsOf(list, file.mid(5)).size(), findings.size());
}

QTEST_MAIN(SiteLiveCheckTest)
#include "tst_sitelivecheck.moc"
