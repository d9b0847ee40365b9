#include "TestServices.h"
#include "app/MainWindow.h"
#include "info/AboutBox.h"
#include "platform/Product.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tessera;

class HelpMenuTest : public QObject {
  Q_OBJECT

private slots:
  void webAndMailWithoutTheAboutBox();
  void aboutBoxShownModally_data();
  void aboutBoxShownModally();
};

void HelpMenuTest::webAndMailWithoutTheAboutBox() {
  TestServices t;
  MainWindow w(t.services());
  // Made by its own command only.
  QVERIFY(!w.findChild<AboutBox*>(QStringLiteral("TForm3")));
  w.action(QStringLiteral("Weboldal1"))->trigger();
  w.action(QStringLiteral("EMail1"))->trigger();
  QCOMPARE(t.shell.opened.size(), 2);
  QCOMPARE(t.shell.opened.at(0), QUrl(kProductWebAddress));
  QCOMPARE(t.shell.opened.at(1), QUrl(QStringLiteral("mailto:") + kProductMailAddress));
  QVERIFY(!w.findChild<AboutBox*>(QStringLiteral("TForm3")));
}

void HelpMenuTest::aboutBoxShownModally_data() {
  QTest::addColumn<QString>("command");
  QTest::newRow("Help menu") << "Info1";
  QTest::newRow("toolbar button") << "ToolButton13";
}

void HelpMenuTest::aboutBoxShownModally() {
  QFETCH(QString, command);
  TestServices t;
  MainWindow w(t.services());
  AboutBox* about = nullptr;
  bool wasModal = false;
  QTimer::singleShot(0, &w, [&] {
    about = w.findChild<AboutBox*>(QStringLiteral("TForm3"));
    QVERIFY(about);
    wasModal = about->isVisible() && about->isModal();
    QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
  });
  w.action(command)->trigger();
  QVERIFY(wasModal);
  QVERIFY(!about->isVisible());
  // Shown again, the same window comes back.
  QTimer::singleShot(0, about, [about] { about->close(); });
  w.action(command)->trigger();
  QCOMPARE(w.findChildren<AboutBox*>().size(), 1);
  QCOMPARE(w.findChild<AboutBox*>(QStringLiteral("TForm3")), about);
  QVERIFY(t.shell.opened.isEmpty());
}

QTEST_MAIN(HelpMenuTest)
#include "tst_helpmenu.moc"
