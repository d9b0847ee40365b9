// The Deck menu's "Serve to Phone..." in the program: the window, the
// address for the phone, the editor's unsaved text reaching a real client,
// the request log, a taken port, and the server ending with the program.
#include "FileBytes.h"
#include "ServeClient.h"
#include "TestServices.h"
#include "app/MainWindow.h"
#include "deck/DeckMenu.h"
#include "deck/DeckServe.h"
#include "deck/ServeWindow.h"
#include "editor/TextDocument.h"
#include "serve/RequestLog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

namespace {

const QString kSaved = QStringLiteral("<wml><card id=\"a\"><p>Saved</p></card></wml>");
const QString kEdited = QStringLiteral("<wml><card id=\"a\"><p>Edited</p></card></wml>");

// A port nothing listens on just now.
quint16 freePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost);
  return probe.serverPort();
}

} // namespace

class ServeWindowTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QNetworkAccessManager manager_;

  // The window, opened by its menu item, over a document saved in the
  // temporary folder as deck.wml.
  ServeWindow* openWindow(MainWindow& window, bool saved = true) {
    if (saved) {
      writeFileBytes(dir_.filePath("deck.wml"), kSaved.toUtf8());
      window.textDocument().setFilePath(dir_.filePath("deck.wml"));
    }
    window.textDocument().replaceWholeText(kSaved);
    window.textDocument().setModified(false);
    window.findChild<QAction*>("ServeSite1")->trigger();
    ServeWindow* serve = window.deckServe()->window();
    if (serve != nullptr)
      serve->findChild<QSpinBox*>("ServePort")->setValue(freePort());
    return serve;
  }

private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  void lastItemOfTheDeckMenu() {
    TestServices t;
    MainWindow window(t.services());
    const QList<QAction*> items = window.findChild<DeckMenu*>("DeckMenu")->actions();
    QCOMPARE(items.last()->objectName(), QStringLiteral("ServeSite1"));
    QCOMPARE(items.last()->text(), QStringLiteral("Ser&ve to Phone..."));
    QVERIFY(items.at(items.size() - 2)->isSeparator());
    ServeWindow* serve = openWindow(window);
    QVERIFY(serve && serve->isVisible());
    QCOMPARE(serve->objectName(), QStringLiteral("ServeWindow"));
    QVERIFY(serve->findChild<QTableView*>("ServeLog"));
    // Nothing is exposed unless asked: the first address is this machine's own.
    QCOMPARE(serve->findChild<QComboBox*>("ServeAddress")->currentData().toString(),
             QStringLiteral("127.0.0.1"));
    QVERIFY(serve->findChild<QCheckBox*>("ServeUnsaved")->isChecked());
    QVERIFY(!serve->isServing());
    // Made once and kept.
    window.findChild<QAction*>("ServeSite1")->trigger();
    QCOMPARE(window.deckServe()->window(), serve);
  }

  // What the document's own address answers, with the unsaved-text option
  // on or off, before and after an edit that is not saved.
  void editorTextServed_data() {
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QString>("served");
    QTest::newRow("option on, not edited") << true << false << kSaved;
    QTest::newRow("option on, edited") << true << true << kEdited;
    QTest::newRow("option off, edited") << false << true << kSaved;
  }
  void editorTextServed() {
    QFETCH(bool, unsaved);
    QFETCH(bool, edit);
    QFETCH(QString, served);
    TestServices t;
    MainWindow window(t.services());
    ServeWindow* serve = openWindow(window);
    serve->findChild<QCheckBox*>("ServeUnsaved")->setChecked(unsaved);
    serve->findChild<QPushButton*>("ServeStart")->click();
    QVERIFY(serve->isServing());
    const quint16 port = serve->servingPort();
    QCOMPARE(serve->findChild<QLabel*>("ServeUrl")->text(),
             QStringLiteral("http://127.0.0.1:%1/deck.wml").arg(port));
    QVERIFY(!serve->findChild<QPushButton*>("ServeStart")->isEnabled());
    QVERIFY(!serve->findChild<QSpinBox*>("ServePort")->isEnabled());
    if (edit)
      window.textDocument().replaceWholeText(kEdited);
    // The text goes to the server after a pause in typing.
    QTRY_COMPARE(fetch(manager_, port, "GET", "/deck.wml").body, served.toUtf8());
    QTRY_VERIFY(serve->log().rowCount() > 0);
    const serve::RequestRecord& last = serve->log().record(serve->log().rowCount() - 1);
    QCOMPARE(last.path, QStringLiteral("/deck.wml"));
    QCOMPARE(last.status, 200);
    QCOMPARE(last.client, QStringLiteral("127.0.0.1"));
    serve->findChild<QPushButton*>("ServeStop")->click();
    QVERIFY(!serve->isServing());
    QVERIFY(rawExchange(port, "GET / HTTP/1.0\r\n\r\n", 1000).isEmpty());
  }

  void takenPortShown() {
    TestServices t;
    MainWindow window(t.services());
    ServeWindow* serve = openWindow(window);
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::LocalHost));
    serve->findChild<QSpinBox*>("ServePort")->setValue(taken.serverPort());
    serve->findChild<QPushButton*>("ServeStart")->click();
    QVERIFY(!serve->isServing());
    QVERIFY(serve->findChild<QLabel*>("ServeState")
                ->text()
                .contains(QString::number(taken.serverPort())));
    QVERIFY(serve->findChild<QPushButton*>("ServeStart")->isEnabled());
  }

  void unsavedDocumentHasNoFolder() {
    TestServices t;
    MainWindow window(t.services());
    ServeWindow* serve = openWindow(window, false);
    serve->start();
    QVERIFY(!serve->isServing());
    QVERIFY(serve->findChild<QLabel*>("ServeState")->text().startsWith("Save the deck first"));
  }

  void closingTheProgramStops() {
    TestServices t;
    auto window = std::make_unique<MainWindow>(t.services());
    window->show();
    ServeWindow* serve = openWindow(*window);
    serve->start();
    QVERIFY(serve->isServing());
    const quint16 port = serve->servingPort();
    QCOMPARE(fetch(manager_, port, "GET", "/deck.wml").status, 200);
    QVERIFY(window->close());
    QVERIFY(rawExchange(port, "GET / HTTP/1.0\r\n\r\n", 1000).isEmpty());
    window.reset();
  }
};

QTEST_MAIN(ServeWindowTest)
#include "tst_servewindow.moc"
