// The size meter, the phone budget and its warning, the compiled-deck and
// WBMP commands of the Deck menu, wired in the main window.
#include "TestServices.h"
#include "app/MainWindow.h"
#include "app/StatusLine.h"
#include "deck/CompiledDeckCommands.h"
#include "deck/CompiledSizePanel.h"
#include "deck/DeckChecking.h"
#include "deck/DeckMenu.h"
#include "deck/WbmpWindow.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "wml/ParsedDeck.h"
#include "wml/check/CompiledBudget.h"
#include "wml/wbxml/DeckCompiler.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

namespace {

QString deck(int cards) {
  QString text = QStringLiteral("<?xml version=\"1.0\"?>\r\n"
                                "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                                "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\r\n"
                                "<wml>\r\n");
  for (int i = 0; i < cards; ++i)
    text += QStringLiteral("<card id=\"c%1\" title=\"Card %1\">\r\n<p>Text number %1 of the "
                           "deck, different each time %1.</p>\r\n</card>\r\n")
                .arg(i);
  return text + QStringLiteral("</wml>\r\n");
}

bool hasBudgetWarning(const QList<wml::Finding>& findings) {
  for (const wml::Finding& finding : findings)
    if (finding.message.startsWith(QStringLiteral("Compiled deck is ")))
      return true;
  return false;
}

} // namespace

class TestCompiledSize : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

private slots:
  void budgetWarningAtTheWmlElement_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("budget");
    QTest::addColumn<bool>("warned");
    QTest::newRow("over") << 1500 << 1397 << true;
    QTest::newRow("exactly the budget") << 1397 << 1397 << false;
    QTest::newRow("under") << 900 << 1492 << false;
    QTest::newRow("no budget") << 99999 << 0 << false;
  }
  void budgetWarningAtTheWmlElement() {
    QFETCH(int, size);
    QFETCH(int, budget);
    QFETCH(bool, warned);
    const wml::ParsedDeck parsed = wml::parseDeck(deck(1));
    const auto finding = wml::check::budgetFinding(parsed, size, budget);
    QCOMPARE(finding.has_value(), warned);
    if (warned)
      QCOMPARE(
          *finding,
          (wml::Finding{{3, 1},
                        wml::Severity::Warning,
                        QStringLiteral("Compiled deck is %1 bytes, over the budget of %2 bytes")
                            .arg(size)
                            .arg(budget),
                        QStringLiteral("over-budget")}));
  }

  void panelShowsSizeAndBudget() {
    CompiledSizePanel panel;
    QCOMPARE(panel.text(), QString());
    panel.showSize(1204);
    QCOMPARE(panel.text(), QStringLiteral("WBXML 1204 B"));
    QVERIFY(!panel.overBudget());
    const QColor normal = panel.palette().color(QPalette::Window);
    panel.setBudget(1000);
    QVERIFY(panel.overBudget());
    QCOMPARE(panel.palette().color(QPalette::Window), QColor(0xC0, 0, 0));
    panel.setBudget(0);
    QCOMPARE(panel.palette().color(QPalette::Window), normal);
    panel.showSize(-1);
    QCOMPARE(panel.text(), QString());
    QVERIFY(panel.width() >= panel.fontMetrics().horizontalAdvance("WBXML 99999 B"));
  }

  void menuItemsAfterTheCheckingItems() {
    TestServices t;
    MainWindow w(t.services());
    QStringList texts;
    for (QAction* item : w.deckMenu()->actions())
      texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
    QCOMPARE(texts.mid(0, 7),
             (QStringList{"&Check Deck", "Check While &Typing", "Check &Site...", "-",
                          "Phone &Budget", "&Compile to WBXML...", "Convert Image to &WBMP..."}));
    QCOMPARE(texts.value(7), QStringLiteral("-")); // then the preview's group
    QStringList budgets;
    for (const char* name :
         {"Budget1397", "Budget1492", "Budget2048", "Budget3000", "BudgetNone"}) {
      auto* item = w.findChild<QAction*>(name);
      QVERIFY2(item, name);
      QVERIFY(item->isCheckable());
      QVERIFY(item->actionGroup() && item->actionGroup()->isExclusive());
      budgets << item->text() + (item->isChecked() ? "*" : "");
    }
    QCOMPARE(budgets,
             (QStringList{"1397 bytes*", "1492 bytes", "2048 bytes", "3000 bytes", "None"}));
    QVERIFY(w.findChild<QAction*>("CompileDeck1"));
    QVERIFY(w.findChild<QAction*>("ConvertWbmp1"));
  }

  void meterFollowsTheChecker() {
    TestServices t;
    MainWindow w(t.services());
    auto* panel = w.findChild<CompiledSizePanel*>("CompiledSizePanel");
    QVERIFY(panel);
    QCOMPARE(panel->parentWidget(), w.statusLine());
    // Right of the lock-key panels and the encoding panel, the hint panel
    // giving way.
    w.show();
    QTRY_COMPARE(w.statusLine()->panel(StatusLine::HintPanel)->width(),
                 w.statusLine()->width() - 250 - StatusLine::kEncodingPanelWidth - panel->width());
    QCOMPARE(panel->x(), w.statusLine()->panel(StatusLine::EncodingPanel)->geometry().right() + 1);

    w.editor()->textDocument().replaceWholeText(deck(40));
    const int size =
        int(wml::wbxml::compileDeckText(w.editor()->textDocument().wholeText()).bytes.size());
    QVERIFY(size > 1397);
    QTRY_COMPARE(panel->text(), CompiledSizePanel::sizeText(size));
    QVERIFY(panel->overBudget());
    QTRY_VERIFY(hasBudgetWarning(w.deckChecking()->lastFindings()));

    w.findChild<QAction*>("BudgetNone")->trigger();
    QVERIFY(!panel->overBudget());
    QTRY_VERIFY(!hasBudgetWarning(w.deckChecking()->lastFindings()));

    w.findChild<QAction*>("Budget3000")->trigger();
    w.editor()->textDocument().replaceWholeText(deck(2));
    const int small =
        int(wml::wbxml::compileDeckText(w.editor()->textDocument().wholeText()).bytes.size());
    QTRY_COMPARE(panel->text(), CompiledSizePanel::sizeText(small));
    QVERIFY(!panel->overBudget());

    w.editor()->textDocument().replaceWholeText(QStringLiteral("<wml><card></wml>"));
    QTRY_COMPARE(panel->text(), QString());
  }

  void compileToFileWritesTheDeck() {
    TestServices t;
    MainWindow w(t.services());
    w.editor()->textDocument().replaceWholeText(deck(3));
    const QString path = dir_.filePath("out.wmlc");
    t.prompts.answerFile(path);
    w.findChild<QAction*>("CompileDeck1")->trigger();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toHex(' '), wml::wbxml::compileDeckText(deck(3)).bytes.toHex(' '));
    QCOMPARE(t.prompts.asked.size(), 1);
    QCOMPARE(t.prompts.asked[0].file.defaultSuffix, QStringLiteral("wmlc"));
    QCOMPARE(w.statusLine()->panelText(StatusLine::HintPanel),
             QStringLiteral("Compiled to %1: %2 bytes")
                 .arg(QDir::toNativeSeparators(path))
                 .arg(file.size()));

    t.prompts.clear();
    t.prompts.answerFile(dir_.filePath("missing/out.wmlc"));
    w.findChild<QAction*>("CompileDeck1")->trigger();
    QCOMPARE(t.prompts.asked.size(), 2);
    QVERIFY(t.prompts.asked[1].text.startsWith("Cannot create file"));

    t.prompts.clear();
    w.editor()->textDocument().replaceWholeText(QStringLiteral("<wml><card></wml>"));
    w.findChild<QAction*>("CompileDeck1")->trigger();
    QCOMPARE(t.prompts.asked.size(), 1); // no file dialog for a broken deck
    QVERIFY(t.prompts.asked[0].text.startsWith("The deck is not well-formed"));
  }

  // A deck the checks find wrong is compiled only when the person says so.
  void compileAsksFirstWithErrors_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("answer"); // QMessageBox::Yes or No; 0 when nothing is asked
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("question");
    const QString dangling = QStringLiteral("<card id=\"a\"><p><a href=\"#b\">b</a> "
                                            "<a href=\"#c\">c</a></p></card>");
    const QString question =
        QStringLiteral("The checks find 2 error(s) in the deck; the first, on line 4: The href "
                       "\"#b\" of <a> points to a card that does not exist: no card has the id "
                       "\"b\".\n\nCompile it all the same?");
    QTest::newRow("errors, compiled all the same")
        << dangling << int(QMessageBox::Yes) << true << question;
    QTest::newRow("errors, not compiled") << dangling << int(QMessageBox::No) << false << question;
    QTest::newRow("warnings alone ask nothing")
        << QStringLiteral("<card id=\"a\"><p><a href=\"gone.wml\">b</a></p></card>") << 0 << true
        << QString();
  }
  void compileAsksFirstWithErrors() {
    QFETCH(QString, body);
    QFETCH(int, answer);
    QFETCH(bool, written);
    QFETCH(QString, question);
    TestServices t;
    MainWindow w(t.services());
    w.editor()->textDocument().replaceWholeText(
        QStringLiteral("<?xml version=\"1.0\"?>\r\n<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML "
                       "1.1//EN\" \"http://www.wapforum.org/DTD/wml_1.1.xml\">\r\n<wml>\r\n") +
        body + QStringLiteral("\r\n</wml>\r\n"));
    const QString path = dir_.filePath(QStringLiteral("asked%1.wmlc").arg(answer));
    QFile::remove(path);
    if (answer)
      t.prompts.answerButton(QMessageBox::StandardButton(answer));
    if (written)
      t.prompts.answerFile(path);
    w.findChild<QAction*>("CompileDeck1")->trigger();
    QCOMPARE(QFileInfo::exists(path), written);
    QCOMPARE(t.prompts.asked.isEmpty() ? QString() : t.prompts.asked[0].text,
             answer ? question : QString());
    QVERIFY(!t.prompts.anyUnexpected());
  }

  void wbmpWindowSavesAndInserts() {
    TestServices t;
    MainWindow w(t.services());
    QImage picture(9, 3, QImage::Format_RGB32);
    for (int x = 0; x < 9; ++x)
      for (int y = 0; y < 3; ++y)
        picture.setPixel(x, y, qRgb(x * 30, x * 30, x * 30));
    const QString png = dir_.filePath("logo.png");
    QVERIFY(picture.save(png));
    t.prompts.answerFile(png);
    w.findChild<QAction*>("ConvertWbmp1")->trigger();
    auto* window = w.findChild<WbmpWindow*>("WbmpWindow");
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->dithering(), Dithering::Diffusion);

    window->findChild<QRadioButton*>("WbmpOrdered")->click();
    window->findChild<QSlider*>("WbmpLevel")->setValue(100);
    const QImage expected = toOneBit(picture, Dithering::Ordered, 100);
    QCOMPARE(window->result(), expected);
    QVERIFY(window->findChild<QLabel*>("WbmpBytes")
                ->text()
                .contains(QStringLiteral("WBMP %1 bytes").arg(wbmpBytes(expected).size())));

    const QString target = dir_.filePath("logo.wbmp");
    t.prompts.answerFile(target);
    t.prompts.answerButton(QMessageBox::Yes);
    w.editor()->textDocument().replaceWholeText(QString());
    window->findChild<QPushButton*>("WbmpSave")->click();
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), wbmpBytes(expected));
    QCOMPARE(w.statusLine()->panelText(StatusLine::HintPanel),
             QStringLiteral("Converted to %1: %2 bytes")
                 .arg(QDir::toNativeSeparators(target))
                 .arg(wbmpBytes(expected).size()));
    QCOMPARE(w.editor()->textDocument().wholeText(),
             QStringLiteral("<img src=\"logo.wbmp\" alt=\"logo\"/>"));
    QVERIFY(!window->isVisible());
    QVERIFY(!t.prompts.anyUnexpected());
  }
};

QTEST_MAIN(TestCompiledSize)
#include "tst_compiledsize.moc"
