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
#include "platform/DrawnArrowsStyle.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

using namespace tessera;

namespace {

// The lines of this process's memory map that name `part`.
QByteArray mappedFiles(const QByteArray& part) {
  QFile maps(QStringLiteral("/proc/self/maps"));
  if (!maps.open(QIODevice::ReadOnly))
    return "cannot read /proc/self/maps";
  QByteArrayList named;
  for (const QByteArray& line : maps.readAll().split('\n'))
    if (line.contains(part))
      named << line.mid(line.lastIndexOf(' ') + 1);
  return named.join('\n');
}

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
  // First: nothing before it may have read an image.
  void startsWithoutImagePlugins();
  void styleKeepsItsNameAndDrawsTheArrows();
  void putOffUntilNeeded();
};

void StartupCostTest::startsWithoutImagePlugins() {
  const QString styleBefore = QApplication::style()->name();
  prepareApplication();
  // The style the desktop chose, wrapped.
  auto* wrapped = dynamic_cast<DrawnArrowsStyle*>(QApplication::style());
  QVERIFY(wrapped);
  QCOMPARE(wrapped->baseStyle()->name(), styleBefore);
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
  // Loading the image-format plugins costs the start more than anything
  // the program does itself; no picture shown at start may bring them in.
  QVERIFY(!mappedFiles("libQt6Gui").isEmpty()); // the map can be read
  const QByteArray plugins = mappedFiles("/imageformats/");
  QVERIFY2(plugins.isEmpty(), plugins.constData());
}

void StartupCostTest::styleKeepsItsNameAndDrawsTheArrows() {
  // The desktop's style does everything but the two arrows.
  DrawnArrowsStyle style(QStringLiteral("Fusion"));
  QCOMPARE(style.baseStyle()->name(), QStringLiteral("fusion"));
  const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
  QCOMPARE(style.pixelMetric(QStyle::PM_ToolBarExtensionExtent),
           fusion->pixelMetric(QStyle::PM_ToolBarExtensionExtent));
  for (const auto which :
       {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
    const QIcon icon = style.standardIcon(which);
    QVERIFY(!icon.isNull());
    for (const int edge : {12, 16, 32}) {
      const QImage shown = icon.pixmap(edge).toImage();
      QCOMPARE(shown.size(), QSize(edge, edge));
      QVERIFY(drawsSomething(shown));
      QVERIFY(icon.pixmap(edge, QIcon::Disabled).toImage() != shown);
    }
    // Drawn at device pixels on a screen of two per point.
    const QPixmap sharp = icon.pixmap(QSize(16, 16), 2.0);
    QCOMPARE(sharp.devicePixelRatio(), 2.0);
    QCOMPARE(sharp.size(), QSize(32, 32));
    QImage sharpImage = sharp.toImage();
    sharpImage.setDevicePixelRatio(1);
    QCOMPARE(sharpImage, icon.pixmap(32).toImage());
  }
  // Horizontal points right (ink right of the middle column), vertical
  // points down: the one is the other turned a quarter.
  const QImage right =
      style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(32).toImage();
  const QImage down =
      style.standardIcon(QStyle::SP_ToolBarVerticalExtensionButton).pixmap(32).toImage();
  QCOMPARE(right.transformed(QTransform().rotate(90)).convertToFormat(QImage::Format_ARGB32),
           down.convertToFormat(QImage::Format_ARGB32));
  QVERIFY(right != down);
  // Any other picture is the base style's.
  QVERIFY(!style.standardIcon(QStyle::SP_MessageBoxQuestion).isNull());

  // A menu bar too narrow for its menus shows the drawn arrow (the
  // application's style is the wrapped one since the first test).
  QVERIFY(dynamic_cast<DrawnArrowsStyle*>(QApplication::style()));
  QWidget window;
  QMenuBar bar(&window);
  for (int i = 0; i < 10; ++i)
    bar.addMenu(QStringLiteral("Menu %1").arg(i));
  window.resize(150, 100);
  bar.resize(150, bar.sizeHint().height());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  auto* more = bar.findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
  QVERIFY(more);
  QTRY_VERIFY(more->isVisible());
  QCOMPARE(more->icon().pixmap(16).toImage(),
           extensionArrowIcon(Qt::Horizontal).pixmap(16).toImage());
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
  QCOMPARE(dock->widget(), dock->list());
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
