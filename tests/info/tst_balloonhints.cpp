#include "info/BalloonHints.h"
#include "info/GraphicHintWindow.h"
#include "info/HintText.h"
#include "info/StHint.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

using namespace tessera;

namespace {

// A main window with the program's hint component and two controls.
struct HintedWindow {
  QMainWindow window;
  QPushButton* button = nullptr;
  QTabBar* tabs = nullptr;
  TStHint* hint = nullptr;

  HintedWindow() {
    hint = TStHint::createForWindow(&window, QStringLiteral("StHint1"), btSolid);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    button = new QPushButton(QStringLiteral("Save"));
    button->setToolTip(QStringLiteral("Save@As"));
    tabs = new QTabBar;
    tabs->addTab(QStringLiteral("General tools"));
    tabs->addTab(QStringLiteral("Link"));
    tabs->setTabToolTip(1, QStringLiteral("Links <b>here</b>"));
    layout->addWidget(button);
    layout->addWidget(tabs);
    window.setCentralWidget(central);
    window.setGeometry(200, 200, 300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
  }
  ~HintedWindow() { BalloonHints::install().hideHint(); }

  QPoint buttonCentre() const { return button->mapToGlobal(button->rect().center()); }
};

QSize textSize(const TStHint& hint, const QString& text) {
  return DrawHintText(nullptr, hint.font(), QPoint(), applyHintSeparator(text, "@"));
}

} // namespace

class BalloonHintsTest : public QObject {
  Q_OBJECT

private slots:
  void creationDefaults();
  void storedValuesOfTheProgramsWindows();
  void pauseTimeSetsTheApplicationsDelay();
  void findsTheMainWindowsComponent();
  void balloonSizeAndPlace_data();
  void balloonSizeAndPlace();
  void classicLookIsNarrower();
  void appearsAfterThePause();
  void toolkitToolTipsAreReplaced();
  void tabHintsAndMovingOn();
  void switchedOffWindowShowsNothing();
  void mousePressHidesIt();
  void balloonWindowGoesWithTheMachinery(); // last: it replaces the instance
};

void BalloonHintsTest::creationDefaults() {
  QObject owner;
  TStHint hint(&owner);
  const HintSettings& s = hint.settings();
  QCOMPARE(s.arrowColor, QColor(Qt::black));
  QCOMPARE(s.borderColor, QColor(Qt::black));
  QCOMPARE(s.borderType, btCtl3D);
  QCOMPARE(s.font.family(), QStringLiteral("MS Sans Serif"));
  QCOMPARE(s.font.pointSize(), 9);
  QCOMPARE(s.hintColor, QColor(Qt::white));
  QCOMPARE(s.hintDirection, hdUpLeft);
  QCOMPARE(s.hintPauseTime, 1000);
  QCOMPARE(s.iconColor, QColor(255, 211, 82));
  QCOMPARE(s.look, hlStHint);
  QCOMPARE(s.separator, QStringLiteral("@"));
  QVERIFY(s.shadow);
  QVERIFY(BalloonHints::instance());
}

void BalloonHintsTest::storedValuesOfTheProgramsWindows() {
  QWidget window;
  TStHint* hint = TStHint::createForWindow(&window, QStringLiteral("StHint1"), btSolid);
  QCOMPARE(window.findChild<TStHint*>(QStringLiteral("StHint1")), hint);
  QCOMPARE(hint->borderType(), btSolid);
  QCOMPARE(hint->font().pixelSize(), 12);
  QCOMPARE(hint->hintPauseTime(), 250);
  QCOMPARE(hint->iconColor(), QColor(166, 202, 240));
  QCOMPARE(hint->look(), hlStHint);
  QCOMPARE(TStHint::createForWindow(&window, "StHint2", btCtl3D)->borderType(), btCtl3D);
}

void BalloonHintsTest::pauseTimeSetsTheApplicationsDelay() {
  BalloonHints& hints = BalloonHints::install();
  hints.setHintPause(777);
  QObject owner;
  auto* hint = new TStHint(&owner);
  QCOMPARE(hints.hintPause(), 777); // the creation default is only stored
  hint->setHintPauseTime(250);
  QCOMPARE(hints.hintPause(), 250);
  QCOMPARE(&BalloonHints::install(), &hints);
}

void BalloonHintsTest::findsTheMainWindowsComponent() {
  {
    TGraphicHintWindow balloon;
    QCOMPARE(TGraphicHintWindow::FindStHint(), nullptr);
    QCOMPARE(balloon.settings().borderType, btCtl3D); // creation defaults
  }
  QMainWindow main;
  QWidget tools; // another window's component is not the one used
  TStHint::createForWindow(&tools, QStringLiteral("StHint1"), btCtl3D);
  TStHint* hint = TStHint::createForWindow(&main, QStringLiteral("StHint1"), btSolid);
  QCOMPARE(TGraphicHintWindow::FindStHint(), hint);
  TGraphicHintWindow balloon;
  QCOMPARE(balloon.settings().borderType, btSolid);
  // Settings are read live; the font only once.
  hint->setHintColor(Qt::yellow);
  QCOMPARE(balloon.settings().hintColor, QColor(Qt::yellow));
}

void BalloonHintsTest::balloonSizeAndPlace_data() {
  QTest::addColumn<QPoint>("pointer");
  QTest::addColumn<bool>("farFromEdges");
  QTest::newRow("far from the edges") << QPoint(400, 300) << true;
  QTest::newRow("near the top-left corner") << QPoint(4, 4) << false;
}

void BalloonHintsTest::balloonSizeAndPlace() {
  QFETCH(QPoint, pointer);
  QFETCH(bool, farFromEdges);
  QMainWindow main;
  TStHint* hint = TStHint::createForWindow(&main, QStringLiteral("StHint1"), btSolid);
  TGraphicHintWindow balloon;
  balloon.activateHint(QStringLiteral("Save@As"), pointer + QPoint(0, 20), pointer,
                       QRect(0, 0, 800, 600));
  QCOMPARE(balloon.text(), QStringLiteral("Save\rAs"));
  const QSize text = textSize(*hint, QStringLiteral("Save@As"));
  QCOMPARE(text.height(), 2 * QFontMetrics(hint->font()).height());
  QCOMPARE(balloon.size(), text + QSize(21, 6));
  QVERIFY(balloon.isVisible());
  QVERIFY(!balloon.isActiveWindow());

  const QImage image = balloon.grab().toImage();
  const QColor arrow = hint->arrowColor();
  if (farFromEdges) {
    QCOMPARE(balloon.geometry().bottomRight() + QPoint(1, 1), pointer);
    QCOMPARE(balloon.corner(), (BalloonCorner{true, true}));
    // Mirrored both ways: the tip is the arrow's bottom-right pixel.
    QCOMPARE(image.pixelColor(balloon.width() - 5, balloon.height() - 5), arrow);
    QCOMPARE(image.pixelColor(8, balloon.height() / 2), hint->hintColor());
  } else {
    QCOMPARE(balloon.pos(), pointer);
    QCOMPARE(balloon.corner(), (BalloonCorner{false, false}));
    QCOMPARE(image.pixelColor(3, 3), arrow);
    QCOMPARE(image.pixelColor(8, balloon.height() / 2), hint->iconColor());
  }
}

void BalloonHintsTest::classicLookIsNarrower() {
  QMainWindow main;
  TStHint* hint = TStHint::createForWindow(&main, QStringLiteral("StHint1"), btSolid);
  TGraphicHintWindow balloon;
  const QRect desktop(0, 0, 800, 600);
  balloon.activateHint(QStringLiteral("About"), QPoint(400, 320), QPoint(400, 300), desktop);
  const int strip = balloon.width();
  hint->setLook(hlClassic);
  balloon.activateHint(QStringLiteral("About"), QPoint(400, 320), QPoint(400, 300), desktop);
  QCOMPARE(balloon.width(), strip - 15);
}

void BalloonHintsTest::appearsAfterThePause() {
  HintedWindow w;
  BalloonHints& hints = BalloonHints::install();
  QCOMPARE(hints.hintPause(), 250);
  QTest::mouseMove(w.button, w.button->rect().center());
  QTest::qWait(120);
  QVERIFY(!hints.isShowingHint());
  QTRY_VERIFY_WITH_TIMEOUT(hints.isShowingHint(), 1000);
  QCOMPARE(hints.window()->text(), QStringLiteral("Save\rAs"));
  // Its bottom-right corner is at the pointer.
  QCOMPARE(hints.window()->geometry().bottomRight() + QPoint(1, 1), w.buttonCentre());
}

void BalloonHintsTest::toolkitToolTipsAreReplaced() {
  HintedWindow w;
  QHelpEvent help(QEvent::ToolTip, w.button->rect().center(), w.buttonCentre());
  QApplication::sendEvent(w.button, &help);
  QVERIFY(!QToolTip::isVisible());
  BalloonHints::install().showHintAt(w.buttonCentre());
  QVERIFY(BalloonHints::install().isShowingHint());
  QVERIFY(!QToolTip::isVisible());
}

void BalloonHintsTest::tabHintsAndMovingOn() {
  HintedWindow w;
  BalloonHints& hints = BalloonHints::install();
  const QRect link = w.tabs->tabRect(1);
  hints.showHintAt(w.tabs->mapToGlobal(link.center()));
  QVERIFY(hints.isShowingHint());
  QCOMPARE(hints.window()->text(), QStringLiteral("Links <b>here</b>"));
  // The first tab has no hint of its own, nor has anything around it.
  hints.showHintAt(w.tabs->mapToGlobal(w.tabs->tabRect(0).center()));
  QVERIFY(!hints.isShowingHint());
  // Moving within the control keeps the balloon; moving off it hides it.
  hints.showHintAt(w.buttonCentre());
  QTest::mouseMove(w.button, w.button->rect().center() + QPoint(3, 1));
  QVERIFY(hints.isShowingHint());
  QTest::mouseMove(w.tabs, link.center());
  QVERIFY(!hints.isShowingHint());
  QTRY_VERIFY_WITH_TIMEOUT(hints.isShowingHint(), 1000);
  QCOMPARE(hints.window()->text(), QStringLiteral("Links <b>here</b>"));
}

void BalloonHintsTest::switchedOffWindowShowsNothing() {
  HintedWindow w;
  BalloonHints& hints = BalloonHints::install();
  QMainWindow other; // another window keeps its own hints
  auto* otherButton = new QPushButton(QStringLiteral("B"));
  otherButton->setToolTip(QStringLiteral("Bold"));
  other.setCentralWidget(otherButton);
  other.setGeometry(600, 200, 100, 60);
  other.show();
  QVERIFY(QTest::qWaitForWindowExposed(&other));

  hints.showHintAt(w.buttonCentre());
  QVERIFY(hints.isShowingHint());
  BalloonHints::setShowHint(&w.window, false);
  QVERIFY(!hints.isShowingHint());
  QVERIFY(!BalloonHints::showsHint(w.button));
  hints.showHintAt(w.buttonCentre());
  QVERIFY(!hints.isShowingHint());
  hints.showHintAt(otherButton->mapToGlobal(otherButton->rect().center()));
  QVERIFY(hints.isShowingHint());
  QCOMPARE(hints.window()->text(), QStringLiteral("Bold"));
  BalloonHints::setShowHint(&w.window, true);
  hints.showHintAt(w.buttonCentre());
  QCOMPARE(hints.window()->text(), QStringLiteral("Save\rAs"));
}

void BalloonHintsTest::mousePressHidesIt() {
  HintedWindow w;
  BalloonHints& hints = BalloonHints::install();
  hints.showHintAt(w.buttonCentre());
  QVERIFY(hints.isShowingHint());
  QTest::mousePress(w.button, Qt::LeftButton, {}, w.button->rect().center());
  QVERIFY(!hints.isShowingHint());
  QTest::mouseRelease(w.button, Qt::LeftButton, {}, w.button->rect().center());
  // Resting on the same control does not bring it back.
  QTest::mouseMove(w.button, w.button->rect().center() + QPoint(1, 0));
  QTest::qWait(400);
  QVERIFY(!hints.isShowingHint());
}

void BalloonHintsTest::balloonWindowGoesWithTheMachinery() {
  HintedWindow w;
  BalloonHints* hints = &BalloonHints::install();
  hints->showHintAt(w.buttonCentre());
  QVERIFY(hints->isShowingHint());
  // The balloon has no parent widget: nothing else would ever delete it.
  const QPointer<QWidget> balloon = hints->window();
  QVERIFY(balloon && !balloon->parentWidget());
  delete hints;
  QVERIFY(balloon.isNull());
  QCOMPARE(BalloonHints::instance(), nullptr);

  // A new instance starts without a balloon and shows hints again.
  BalloonHints& again = BalloonHints::install();
  QCOMPARE(again.window(), nullptr);
  again.showHintAt(w.buttonCentre());
  QVERIFY(again.isShowingHint());
  QCOMPARE(again.window()->text(), QStringLiteral("Save\rAs"));
}

QTEST_MAIN(BalloonHintsTest)
#include "tst_balloonhints.moc"
