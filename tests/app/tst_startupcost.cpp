// What the program's start does and does not do: the costs kept out of it
// must stay out, and what is put off must still come when it is needed.
#include "TestServices.h"
#include "app/Application.h"
#include "app/Icons.h"
#include "app/MainWindow.h"
#include "app/NoticeBar.h"
#include "deck/ProblemsDock.h"
#include "deck/ProblemsList.h"
#include "info/AboutBox.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

using namespace tessera;

namespace {

bool drawsSomething(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y).alpha() > 0)
        return true;
  return false;
}

} // namespace

class StartupCostTest : public QObject {
  Q_OBJECT
private slots:
  void toolbarShowsTheThemeIcons();
  void putOffUntilNeeded();
};

void StartupCostTest::toolbarShowsTheThemeIcons() {
  prepareApplication();
  TestServices t;
  MainWindow w(t.services());
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QTest::qWait(50); // the start-up timer shows the tools window
  w.grab();         // every visible widget drawn, toolbar icons included
  // The toolbar shows the theme's icons.
  auto* newButton = w.findChild<QToolButton*>(QStringLiteral("ToolButton1"));
  QVERIFY(newButton);
  QVERIFY(drawsSomething(newButton->icon().pixmap(22).toImage()));
  QCOMPARE(newButton->icon().name(), QStringLiteral("document-new"));
}

void StartupCostTest::putOffUntilNeeded() {
  TestServices t;
  MainWindow w(t.services());
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  // Made when first needed, not at start.
  QVERIFY(!w.findChild<AboutBox*>());
  QVERIFY(!w.findChild<ProblemsList*>());
  auto* picture = w.noticeBar()->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
  QVERIFY(picture);
  QVERIFY(picture->pixmap().isNull());
  QVERIFY(w.noticeBar()->closeButton()->icon().isNull());

  // ...and there when they are.
  w.noticeBar()->showNotice(QStringLiteral("Read as windows-1252."));
  QVERIFY(!picture->pixmap().isNull());
  QVERIFY(!w.noticeBar()->closeButton()->icon().isNull());
  w.noticeBar()->showNotice(QStringLiteral("Again."));
  QVERIFY(!picture->pixmap().isNull());

  w.findChild<QAction*>(QStringLiteral("CheckDeck1"))->trigger();
  auto* dock = w.findChild<ProblemsDock*>(QStringLiteral("ProblemsDock"));
  QVERIFY(dock->isVisible());
  QCOMPARE(w.findChildren<ProblemsList*>().size(), 1);
  // The list sits in the dock under the (hidden) summary of a site check.
  QCOMPARE(dock->list()->parentWidget(), dock->widget());
  QTRY_VERIFY(dock->list()->isVisible());

  QTimer::singleShot(0, &w, [&w] {
    if (auto* about = w.findChild<AboutBox*>(QStringLiteral("TForm3")))
      about->close();
  });
  w.action(QStringLiteral("Info1"))->trigger();
  QCOMPARE(w.findChildren<AboutBox*>().size(), 1);
}

QTEST_MAIN(StartupCostTest)
#include "tst_startupcost.moc"
