#include "TestServices.h"
#include "app/MainWindow.h"
#include "app/StatusLine.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "info/BalloonHints.h"
#include "info/GraphicHintWindow.h"
#include "tools/ToolsPanel.h"

#include <QAction>
#include <QEnterEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QWindow>

using namespace tessera;

namespace {

bool checked(const MainWindow& w, const char* name) {
  return w.action(QString::fromLatin1(name))->isChecked();
}

void trigger(MainWindow& w, const char* name) { w.action(QString::fromLatin1(name))->trigger(); }

QStringList tabOrder(const ToolsPanel* panel) {
  QStringList captions;
  for (int i = 0; i < panel->count(); ++i)
    captions << panel->tabText(i);
  return captions;
}

void showWindow(MainWindow& w) {
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
}

} // namespace

class ViewSettingsTest : public QObject {
  Q_OBJECT

private slots:
  void startValues();
  void wordWrap();
  void fontSize_data();
  void fontSize();
  void tabDrag_data();
  void tabDrag();
  void helpBubbles();
  void stayOnTop();
  void backgroundColor_data();
  void backgroundColor();
  void windowSizes_data();
  void windowSizes();
};

void ViewSettingsTest::startValues() {
  TestServices t;
  MainWindow w(t.services());
  QVERIFY(checked(w, "Szveg1"));
  QVERIFY(!checked(w, "Betmretkicsi1"));
  QVERIFY(checked(w, "Betmretnorml1"));
  QVERIFY(checked(w, "Flekmozgathatsga1"));
  QVERIFY(checked(w, "SegtsgBE1"));
  QVERIFY(!checked(w, "Stayontop1"));
  QCOMPARE(w.action("SegtsgBE1")->statusTip(), QStringLiteral("Disabling help bubbles"));
  SourceEditor* editor = w.editor();
  QCOMPARE(editor->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  QCOMPARE(editor->font().pointSize(), 12);
  QCOMPARE(editor->palette().color(QPalette::Base), QColor(Qt::white));
  QVERIFY(!w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(BalloonHints::showsHint(w.editor()));
}

void ViewSettingsTest::wordWrap() {
  TestServices t;
  MainWindow w(t.services());
  w.resize(500, 400);
  showWindow(w);
  SourceEditor* editor = w.editor();
  editor->textDocument().replaceWholeText(QString(400, QLatin1Char('x')) +
                                          QStringLiteral("\r\nlast"));
  editor->setSelection(tessera::TextPosition(editor->textDocument().textLength()), 0);
  editor->refreshStatus();
  const QString wrappedRow = w.statusLine()->panelText(StatusLine::RowPanel);
  QVERIFY2(wrappedRow != QStringLiteral("Row: 2"), qPrintable(wrappedRow));

  trigger(w, "Szveg1");
  QVERIFY(!checked(w, "Szveg1"));
  QCOMPARE(editor->lineWrapMode(), QPlainTextEdit::NoWrap);
  QCOMPARE(editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QCOMPARE(editor->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  // The long line runs past the right edge; rows count the text's own lines.
  QTRY_VERIFY(editor->horizontalScrollBar()->maximum() > 0);
  QCOMPARE(w.statusLine()->panelText(StatusLine::RowPanel), QStringLiteral("Row: 2"));

  trigger(w, "Szveg1");
  QVERIFY(checked(w, "Szveg1"));
  QCOMPARE(editor->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  QCOMPARE(editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  QCOMPARE(w.statusLine()->panelText(StatusLine::RowPanel), wrappedRow);
}

void ViewSettingsTest::fontSize_data() {
  QTest::addColumn<QStringList>("chosen");
  QTest::addColumn<bool>("small");
  QTest::addColumn<int>("points");
  QTest::newRow("small") << QStringList{"Betmretkicsi1"} << true << 10;
  QTest::newRow("small twice stays small")
      << QStringList{"Betmretkicsi1", "Betmretkicsi1"} << true << 10;
  QTest::newRow("normal while normal stays normal") << QStringList{"Betmretnorml1"} << false << 12;
  QTest::newRow("small then normal")
      << QStringList{"Betmretkicsi1", "Betmretnorml1"} << false << 12;
}

void ViewSettingsTest::fontSize() {
  QFETCH(QStringList, chosen);
  QFETCH(bool, small);
  QFETCH(int, points);
  TestServices t;
  MainWindow w(t.services());
  const QString family = w.editor()->font().family();
  for (const QString& item : chosen)
    w.action(item)->trigger();
  QCOMPARE(checked(w, "Betmretkicsi1"), small);
  QCOMPARE(checked(w, "Betmretnorml1"), !small);
  QCOMPARE(w.editor()->font().pointSize(), points);
  QCOMPARE(w.editor()->font().family(), family);
}

void ViewSettingsTest::tabDrag_data() {
  QTest::addColumn<bool>("movable");
  QTest::addColumn<int>("dropOn"); // -1: the page below the tabs, -2: outside the panel
  QTest::addColumn<QStringList>("order");
  const QStringList start = {"General tools", "Link", "Image", "Image link"};
  QTest::newRow("movable: third onto first")
      << true << 0 << QStringList{"Image", "General tools", "Link", "Image link"};
  QTest::newRow("movable: third onto fourth")
      << true << 3 << QStringList{"General tools", "Link", "Image link", "Image"};
  QTest::newRow("not movable") << false << 0 << start;
  QTest::newRow("movable: dropped on the page") << true << -1 << start;
  QTest::newRow("movable: dropped outside the panel") << true << -2 << start;
}

void ViewSettingsTest::tabDrag() {
  QFETCH(bool, movable);
  QFETCH(int, dropOn);
  QFETCH(QStringList, order);
  TestServices t;
  MainWindow w(t.services());
  w.resize(1000, 600);
  showWindow(w);
  ToolsPanel* panel = w.toolsPanel();
  if (!movable) {
    trigger(w, "Flekmozgathatsga1");
    QVERIFY(!checked(w, "Flekmozgathatsga1"));
  }
  QTabBar* bar = panel->tabBar();
  const QPoint from = bar->tabRect(2).center();
  QPoint to;
  if (dropOn >= 0)
    to = bar->tabRect(dropOn).center();
  else if (dropOn == -1)
    to = bar->mapFrom(panel, QPoint(from.x(), panel->height() - 5));
  else
    to = bar->mapFrom(panel, QPoint(from.x(), panel->height() + 60));

  QTest::mousePress(bar, Qt::LeftButton, {}, from);
  QCOMPARE(panel->currentIndex(), 2);
  QTest::mouseMove(bar, from + QPoint(0, 2)); // within the drag threshold
  QTest::mouseMove(bar, (from + to) / 2);
  QTest::mouseMove(bar, to);
  QTest::mouseRelease(bar, Qt::LeftButton, {}, to);
  QCOMPARE(tabOrder(panel).mid(0, 4), order);
  // The dragged tab stays the active one and keeps its own page.
  QCOMPARE(panel->currentWidget(), panel->page(ToolsPanel::Image));
  QCOMPARE(panel->tabText(panel->indexOf(panel->page(ToolsPanel::Image))), QStringLiteral("Image"));
}

void ViewSettingsTest::helpBubbles() {
  TestServices t;
  MainWindow w(t.services());
  showWindow(w);
  BalloonHints& hints = BalloonHints::install();
  QWidget* about = w.findChild<QWidget*>(QStringLiteral("ToolButton13"));
  QVERIFY(about);
  const QPoint aboutCentre = about->mapToGlobal(about->rect().center());

  trigger(w, "SegtsgBE1");
  QVERIFY(!checked(w, "SegtsgBE1"));
  QCOMPARE(w.action("SegtsgBE1")->statusTip(), QStringLiteral("Enabling help bubbles"));
  hints.showHintAt(aboutCentre);
  QVERIFY(!hints.isShowingHint());
  // The status line still shows the control's hint.
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(aboutCentre));
  QApplication::sendEvent(about, &enter);
  QCOMPARE(w.statusLine()->panelText(StatusLine::HintPanel), QStringLiteral("About"));

  trigger(w, "SegtsgBE1");
  QVERIFY(checked(w, "SegtsgBE1"));
  QCOMPARE(w.action("SegtsgBE1")->statusTip(), QStringLiteral("Disabling help bubbles"));
  hints.showHintAt(aboutCentre);
  QVERIFY(hints.isShowingHint());
  QCOMPARE(hints.window()->text(), QStringLiteral("About"));
  hints.hideHint();
}

void ViewSettingsTest::stayOnTop() {
  TestServices t;
  MainWindow w(t.services());
  w.setGeometry(40, 50, 700, 500);
  showWindow(w);
  const QRect before = w.geometry();
  trigger(w, "Stayontop1");
  QVERIFY(checked(w, "Stayontop1"));
  QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(w.isVisible());
  QCOMPARE(w.geometry(), before);
  trigger(w, "Stayontop1");
  QVERIFY(!checked(w, "Stayontop1"));
  QVERIFY(!w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(!w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(w.isVisible());
  QCOMPARE(w.geometry(), before);
}

void ViewSettingsTest::backgroundColor_data() {
  QTest::addColumn<QColor>("chosen");
  QTest::addColumn<int>("answer"); // -1: not asked
  QTest::addColumn<QColor>("result");
  const QColor white(Qt::white);
  const QColor cream(255, 250, 220);
  QTest::newRow("dialog cancelled") << QColor() << -1 << white;
  QTest::newRow("same colour asks nothing") << white << -1 << white;
  QTest::newRow("new colour, Cancel") << cream << int(QMessageBox::Cancel) << white;
  QTest::newRow("new colour, OK") << cream << int(QMessageBox::Ok) << cream;
}

void ViewSettingsTest::backgroundColor() {
  QFETCH(QColor, chosen);
  QFETCH(int, answer);
  QFETCH(QColor, result);
  TestServices t;
  MainWindow w(t.services());
  const QColor text = w.editor()->palette().color(QPalette::Text);
  t.prompts.answerColor(chosen);
  if (answer >= 0)
    t.prompts.answerButton(QMessageBox::StandardButton(answer));
  trigger(w, "EditorsBackgroundColor1");
  QCOMPARE(t.prompts.pendingAnswers(), 0);
  QVERIFY(!t.prompts.anyUnexpected());
  QCOMPARE(t.prompts.asked.size(), answer >= 0 ? 2 : 1);
  QCOMPARE(t.prompts.asked.at(0).kind, ScriptedPrompts::Asked::Color);
  if (answer >= 0) {
    const ScriptedPrompts::Asked& question = t.prompts.asked.at(1);
    QCOMPARE(question.caption, QStringLiteral("Confirm"));
    QCOMPARE(question.text, QStringLiteral("Are you sure?"));
    QCOMPARE(question.icon, QMessageBox::Question);
    QCOMPARE(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
  }
  QCOMPARE(w.editor()->palette().color(QPalette::Base), result);
  QCOMPARE(w.editor()->palette().color(QPalette::Text), text);
}

void ViewSettingsTest::windowSizes_data() {
  QTest::addColumn<QString>("item");
  QTest::addColumn<QSize>("client");
  QTest::addColumn<bool>("maximisedFirst");
  QTest::newRow("640 x 480 while maximised") << "N640x4801" << QSize(640, 480) << true;
  QTest::newRow("800 x 600") << "N800x6001" << QSize(800, 600) << false;
  QTest::newRow("1024 x 768 while maximised") << "N1024x7681" << QSize(1024, 768) << true;
}

void ViewSettingsTest::windowSizes() {
  QFETCH(QString, item);
  QFETCH(QSize, client);
  QFETCH(bool, maximisedFirst);
  TestServices t;
  MainWindow w(t.services());
  showWindow(w);
  w.showNormal(); // the first activation maximised it
  w.setGeometry(30, 40, 500, 400);
  QTRY_COMPARE(w.geometry().topLeft(), QPoint(30, 40));
  const QPoint place = w.pos(); // the frame's corner
  if (maximisedFirst) {
    w.showMaximized();
    QTRY_VERIFY(w.isMaximized());
  }
  w.action(item)->trigger();
  QVERIFY(!w.isMaximized());
  QTRY_COMPARE(w.size(), QSize(client.width(), client.height() + w.menuBar()->height()));
  if (!maximisedFirst) // where a maximised window returns to is the desktop's business
    QCOMPARE(w.pos(), place);
  const auto* hintPanel = w.findChild<QLabel*>(QStringLiteral("StatusPanel0"));
  QVERIFY(hintPanel);
  // The fixed panels' widths (the encoding panel's 140 among them) and the
  // compiled-size panel after them.
  const auto* sizePanel = w.findChild<QLabel*>(QStringLiteral("CompiledSizePanel"));
  QVERIFY(sizePanel);
  QTRY_COMPARE(hintPanel->width(), client.width() - 250 - 140 - sizePanel->width());
}

QTEST_MAIN(ViewSettingsTest)
#include "tst_viewsettings.moc"
