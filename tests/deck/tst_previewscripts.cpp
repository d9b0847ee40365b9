// Scripts in the preview window: a deck's call walked through the screen's
// slots and keys to the card it lands on, the variables view following; a
// script that never ends leaves the window responsive; a script error; a
// compiled unit read out of process; the edited unit's unsaved text.
#include "FileBytes.h"
#include "deck/DeckService.h"
#include "deck/PreviewScreen.h"
#include "deck/PreviewWindow.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "wml/script/ScriptCompiler.h"

#include <QMainWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

namespace {

const char* const kUnit = R"(
extern function order(item) {
  var count = Dialogs.prompt("How many " + item + "?", "1");
  WMLBrowser.setVar("count", count);
  WMLBrowser.go("#done");
}
extern function spin() { while (true) { } }
extern function fail() { return 1 / Lang.abort("sold out"); }
)";

QString deckCalling(const QString& href) {
  return QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML "
                        "1.1//EN\" \"http://www.wapforum.org/DTD/wml_1.1.xml\">\n<wml>\n"
                        "<card id=\"menu\"><p><a href=\"%1\">Order</a></p></card>\n"
                        "<card id=\"done\" title=\"Done\"><p>$(count) ordered</p></card>\n"
                        "</wml>\n")
      .arg(href);
}

} // namespace

class PreviewScriptsTest : public QObject {
  Q_OBJECT

  QTemporaryDir folder;
  QMainWindow* main = nullptr;
  SourceEditor* editor = nullptr;
  DeckService* service = nullptr;
  PreviewWindow* window = nullptr;

  QString shown() const { return window->screen()->property("renderedText").toString(); }
  void open(const QString& href) {
    editor->textDocument().setFilePath(folder.filePath("deck.wml"));
    editor->textDocument().replaceWholeText(deckCalling(href));
    QSignalSpy refreshed(window, &PreviewWindow::refreshed);
    window->show();
    QVERIFY(refreshed.wait(5000));
  }

private slots:
  void initTestCase() {
    writeFileBytes(folder.filePath("shop.wmls"), kUnit);
    writeFileBytes(folder.filePath("shop.wmlsc"),
                   wml::script::compileScript(QString::fromUtf8(kUnit)).bytecode);
    writeFileBytes(folder.filePath("fake.wmlsc"), QByteArray("\x01\x03\x00\x7f\x7f", 5));
  }
  void init() {
    main = new QMainWindow;
    editor = new SourceEditor(main);
    main->setCentralWidget(editor);
    service = new DeckService(editor->textDocument(), main);
    window = new PreviewWindow(*editor, *service, main);
    // The preview is a dock: it shows in a main window that is shown.
    main->addDockWidget(Qt::RightDockWidgetArea, window);
    window->hide();
    main->show();
  }
  void cleanup() {
    delete main;
    main = nullptr;
  }

  void promptSetsAVariableAndNavigates_data() {
    QTest::addColumn<QString>("href");
    QTest::newRow("source") << "shop.wmls#order('tea')";
    QTest::newRow("compiled, read out of process") << "shop.wmlsc#order('tea')";
  }
  void promptSetsAVariableAndNavigates() {
    QFETCH(QString, href);
    open(href);
    QVERIFY(QMetaObject::invokeMethod(window->screen(), "followLink", Q_ARG(int, 0)));
    QCOMPARE(shown(), QStringLiteral("\nHow many tea?\n[input: 1]\nOK | "));
    // Typed as on the phone, then answered through the slot.
    QTest::keyClick(window->screen(), Qt::Key_Backspace);
    QTest::keyClicks(window->screen(), QStringLiteral("3"));
    QCOMPARE(shown(), QStringLiteral("\nHow many tea?\n[input: 3]\nOK | "));
    QVERIFY(QMetaObject::invokeMethod(window->screen(), "answerPrompt", Q_ARG(QString, "4")));
    QCOMPARE(shown(), QStringLiteral("Done\n4 ordered\n | "));
    auto* variables = window->findChild<QTableWidget*>(QStringLiteral("PreviewVariables"));
    QCOMPARE(variables->rowCount(), 1);
    QCOMPARE(variables->item(0, 1)->text(), QStringLiteral("4"));
  }

  void scriptErrorsShowThePhonesErrorScreen_data() {
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("screen");
    QTest::newRow("abort") << "shop.wmls#fail()"
                           << "Script error\nshop.wmls#fail\nprogrammed abort: sold out\n | Back";
    QTest::newRow("not bytecode")
        << "fake.wmlsc#f()"
        << "Script error\nfake.wmlsc#f()\nnot WMLScript bytecode: 127 pragmas cannot fit in 0 "
           "bytes (at byte 5)\n | Back";
  }
  void scriptErrorsShowThePhonesErrorScreen() {
    QFETCH(QString, href);
    QFETCH(QString, screen);
    open(href);
    QVERIFY(QMetaObject::invokeMethod(window->screen(), "followLink", Q_ARG(int, 0)));
    QCOMPARE(shown(), screen);
  }

  // The endless loop runs in slices between events: the window keeps
  // answering until the budget ends it with the error screen.
  void endlessScriptKeepsTheWindowResponsive() {
    open("shop.wmls#spin()");
    QVERIFY(QMetaObject::invokeMethod(window->screen(), "followLink", Q_ARG(int, 0)));
    QVERIFY(window->screen()->agent().scriptRunning());
    QSignalSpy changed(window->screen(), &PreviewScreen::screenChanged);
    int events = 0;
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&events] { ++events; });
    probe.start(1);
    QTRY_VERIFY_WITH_TIMEOUT(!window->screen()->agent().scriptRunning(), 60000);
    QVERIFY2(events > 3, "events were handled while the script ran");
    QVERIFY(shown().startsWith(QLatin1String("Script error\nshop.wmls#spin\n")));
  }

  // The unit open in the editor is called as edited, saved or not.
  void theEditedUnitRunsAsEdited() {
    open("shop.wmls#order('tea')");
    window->screen()->setEditedScript(folder.filePath("shop.wmls"),
                                      "extern function order(x) { WMLBrowser.go(\"#done\"); }");
    QVERIFY(QMetaObject::invokeMethod(window->screen(), "followLink", Q_ARG(int, 0)));
    QCOMPARE(shown(), QStringLiteral("Done\nordered\n | "));
  }
};

QTEST_MAIN(PreviewScriptsTest)
#include "tst_previewscripts.moc"
