#include "app/Icons.h"
#include "app/MainWindow.h"
#include "app/StatusLine.h"
#include "dialogs/DateTimeWindow.h"
#include "dialogs/EditorContextMenu.h"
#include "dialogs/ElementDialogs.h"
#include "dialogs/ImageEditor.h"
#include "dialogs/LinkEditor.h"
#include "dialogs/ToolsWindow.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "info/GraphicHintWindow.h"
#include "info/StHint.h"
#include "support/TestServices.h"
#include "tools/ToolsPanel.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>

using namespace tessera;

// The floating tools window inside a real main window: start-up, the view
// toggles, its buttons and the edge snapping.
class ToolsWindowTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void startupTimerShowsIt();
  void startupTimerWaitsForTheMainWindowOnScreen();
  void windowsMadeOnFirstNeedAndKept();
  void shiftF10OpensTheEditorMenuFromTheStart();
  void buttonsActOnTheEditor_data();
  void buttonsActOnTheEditor();
  void panelAndWindowButtonsAgree_data();
  void panelAndWindowButtonsAgree();
  void closeBoxHidesAndF11ShowsAgain();
  void transparencyToggle();
  void snapsAfterFirstActivation();
  void balloonsLookLikeTheMainWindows();

private:
  static bool sameIcon(const QIcon& a, const QIcon& b) {
    return a.pixmap(16).toImage() == b.pixmap(16).toImage();
  }
  QAction* action(const char* name) { return window->action(QString::fromLatin1(name)); }

  TestServices* services = nullptr;
  MainWindow* window = nullptr;
  ToolsWindow* tools = nullptr;
};

void ToolsWindowTest::init() {
  services = new TestServices;
  window = new MainWindow(services->services());
  tools = window->dialogs()->toolsWindow();
  window->show();
  QVERIFY(QTest::qWaitForWindowActive(window));
  QTRY_VERIFY(tools->isVisible());
}

void ToolsWindowTest::cleanup() {
  delete window;
  delete services;
}

void ToolsWindowTest::startupTimerShowsIt() {
  auto* timer = window->findChild<QTimer*>(QStringLiteral("Timer2"));
  QVERIFY(timer);
  QVERIFY(timer->isSingleShot());
  QCOMPARE(timer->interval(), 1);
  QVERIFY(!timer->isActive()); // fired once, for good
  QCOMPARE(tools->objectName(), QStringLiteral("TForm9"));
  QCOMPARE(tools->windowTitle(), QStringLiteral("Tools"));
  QCOMPARE(tools->opacity(), 200);
  QVERIFY(tools->windowFlags() & Qt::Tool);
  // Showing the palette leaves the main window active.
  QTRY_VERIFY(window->isActiveWindow());
  const QIcon shown = themedIcon(IconId::ToolsWindowShown);
  QVERIFY(sameIcon(action("Eszkzksegdablak2")->icon(), shown));
  QVERIFY(sameIcon(action("ToolButton11")->icon(), shown));
  // No buttons beyond the eleven.
  QCOMPARE(tools->findChildren<QAbstractButton*>().size(), 11);
}

void ToolsWindowTest::startupTimerWaitsForTheMainWindowOnScreen() {
  delete window;
  window = new MainWindow(services->services());
  auto* timer = window->findChild<QTimer*>(QStringLiteral("Timer2"));
  QVERIFY(timer);
  QTest::qWait(20);
  QVERIFY(!timer->isActive());
  QVERIFY(!window->findChild<ToolsWindow*>());
  window->show();
  QTRY_VERIFY(window->findChild<ToolsWindow*>() && window->findChild<ToolsWindow*>()->isVisible());
  QVERIFY(!timer->isActive());
}

// The element windows are made when first needed: the start-up timer alone
// brings the tools window (snapping, as the main window was activated
// before it existed), and every window is made once and kept.
void ToolsWindowTest::windowsMadeOnFirstNeedAndKept() {
  delete window; // a main window whose tools window nobody asked for
  window = new MainWindow(services->services());
  window->show();
  QVERIFY(QTest::qWaitForWindowActive(window));
  ToolsWindow* made = nullptr;
  QTRY_VERIFY((made = window->findChild<ToolsWindow*>()) && made->isVisible());
  QCOMPARE(made->objectName(), QStringLiteral("TForm9"));
  QCOMPARE(window->dialogs()->toolsWindow(), made);
  QVERIFY(made->snapsToEdges());
  QVERIFY(sameIcon(action("ToolButton11")->icon(), themedIcon(IconId::ToolsWindowShown)));
  ElementDialogs& dialogs = *window->dialogs();
  QCOMPARE(window->findChildren<ToolsWindow*>().size(), 1);
  QVERIFY(dialogs.linkEditor() && dialogs.linkEditor() == dialogs.linkEditor());
  QVERIFY(dialogs.imageEditor() && dialogs.imageEditor() == dialogs.imageEditor());
  QVERIFY(dialogs.dateTimeWindow() && dialogs.dateTimeWindow() == dialogs.dateTimeWindow());
  QVERIFY(dialogs.contextMenu() && dialogs.contextMenu() == dialogs.contextMenu());
  QCOMPARE(dialogs.linkEditor()->parentWidget(), window);
  QCOMPARE(dialogs.linkEditor()->objectName(), QStringLiteral("TForm11"));
  QCOMPARE(dialogs.imageEditor()->objectName(), QStringLiteral("TForm12"));
  QCOMPARE(dialogs.dateTimeWindow()->objectName(), QStringLiteral("TForm13"));
  QCOMPARE(dialogs.contextMenu()->objectName(), QStringLiteral("PopupMenu1"));
}

// Shift+F10 opens the editor's menu even before anything has made it, and
// the key goes no further.
void ToolsWindowTest::shiftF10OpensTheEditorMenuFromTheStart() {
  delete window;
  window = new MainWindow(services->services());
  window->show();
  QVERIFY(QTest::qWaitForWindowActive(window));
  SourceEditor* editor = window->editor();
  const QString before = editor->textDocument().wholeText();
  QTRY_VERIFY(window->findChild<ToolsWindow*>());
  QVERIFY(!window->findChild<QMenu*>(QStringLiteral("PopupMenu1")));
  editor->setFocus();
  QTest::keyClick(editor, Qt::Key_F10, Qt::ShiftModifier);
  auto* menu = window->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
  QVERIFY(menu);
  QTRY_VERIFY(menu->isVisible());
  QCOMPARE(menu->pos(), editor->viewport()->mapToGlobal(editor->cursorRect().bottomLeft()));
  menu->hide();
  QCOMPARE(editor->textDocument().wholeText(), before);
  // Once made, the menu answers the key itself; still only one menu.
  QTest::keyClick(editor, Qt::Key_F10, Qt::ShiftModifier);
  QTRY_VERIFY(menu->isVisible());
  menu->hide();
  QCOMPARE(window->findChildren<QMenu*>(QStringLiteral("PopupMenu1")).size(), 1);
  QCOMPARE(editor->textDocument().wholeText(), before);
}

void ToolsWindowTest::buttonsActOnTheEditor_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("result"); // "ab[xy]cd" with "xy" selected before
  QTest::addColumn<int>("caret");      // caret afterwards
  QTest::addColumn<QString>("hint");
  QTest::newRow("line break") << "BitBtn1"
                              << "ab<br/>cd" << 7 << "Brake line (Shift+Enter)";
  QTest::newRow("line omission") << "BitBtn2"
                                 << "ab<br/><br/>cd" << 12 << "Line omission";
  QTest::newRow("bold wraps") << "Button6"
                              << "ab<b>xy</b>cd" << 7 << "Bold (Ctrl+B)";
  QTest::newRow("italic") << "Button13"
                          << "ab<i>xy</i>cd" << 7 << "Italic (Ctrl+I)";
  QTest::newRow("underline") << "Button14"
                             << "ab<u>xy</u>cd" << 7 << "Underline (Ctrl+U)";
  QTest::newRow("ampersand") << "BitBtn4"
                             << "ab&amp;cd" << 7 << "Ampersand";
  QTest::newRow("less than") << "Button19"
                             << "ab&lt;cd" << 6 << "Relational sign to the left";
  QTest::newRow("greater than") << "Button20"
                                << "ab&gt;cd" << 6 << "Relational sign to the right";
  QTest::newRow("apostrophe") << "Button18"
                              << "ab&apos;cd" << 8 << "Apostrophe";
  QTest::newRow("non-breaking space")
      << "Button21"
      << "ab&nbsp;cd" << 8
      << "Non-Breaking Space - If you want to use more than one space successively. (Ctrl+Space)";
  QTest::newRow("quotation mark") << "Button22"
                                  << "ab&quot;cd" << 8 << "Quotation-mark";
}

void ToolsWindowTest::buttonsActOnTheEditor() {
  QFETCH(QString, button);
  QFETCH(QString, result);
  QFETCH(int, caret);
  QFETCH(QString, hint);
  SourceEditor* editor = window->editor();
  editor->textDocument().replaceWholeText(QStringLiteral("abxycd"));
  editor->setSelection(tessera::TextPosition(2), 2);
  // A field of the tools panel has the keyboard focus when the button is clicked.
  auto* field = new QLineEdit(window->toolsPanel()->page(ToolsPanel::Link));
  field->show();
  field->setFocus();
  QTRY_VERIFY(field->hasFocus());

  QAbstractButton* b = tools->button(button);
  QVERIFY(b);
  QCOMPARE(b->toolTip(), hint);
  QCOMPARE(b->focusPolicy(), Qt::NoFocus);
  QTest::mouseClick(b, Qt::LeftButton);

  QCOMPARE(editor->textDocument().wholeText(), result);
  QCOMPARE(editor->caretPosition().value, caret);
  QCOMPARE(editor->selectionLength(), 0);
  QVERIFY(field->text().isEmpty());
  QTRY_VERIFY(editor->hasFocus());
  QVERIFY(editor->textDocument().isModified());
}

// The palette repeats buttons of the tools panel: each pair shows the same
// hint and picture and puts the same text in.
void ToolsWindowTest::panelAndWindowButtonsAgree_data() {
  QTest::addColumn<QString>("inWindow");
  QTest::addColumn<QString>("inPanel");
  QTest::addColumn<int>("tab");
  QTest::addColumn<QString>("caption"); // of both; "*" where only the panel has one
  QTest::addColumn<bool>("picture");
  QTest::addColumn<QString>("result"); // "ab[xy]cd" with "xy" selected before
  const int general = ToolsPanel::GeneralTools;
  const int characters = ToolsPanel::CharactersSymbols;
  QTest::newRow("line break") << "BitBtn1"
                              << "BitBtn5" << general << "*" << true << "ab<br/>cd";
  QTest::newRow("line omission") << "BitBtn2"
                                 << "BitBtn6" << general << "*" << true << "ab<br/><br/>cd";
  QTest::newRow("bold") << "Button6"
                        << "Button6" << characters << "B" << false << "ab<b>xy</b>cd";
  QTest::newRow("italic") << "Button13"
                          << "Button13" << characters << "I" << false << "ab<i>xy</i>cd";
  QTest::newRow("underline") << "Button14"
                             << "Button14" << characters << "U" << false << "ab<u>xy</u>cd";
  QTest::newRow("ampersand") << "BitBtn4"
                             << "BitBtn4" << characters << "" << true << "ab&amp;cd";
  QTest::newRow("less than") << "Button19"
                             << "Button19" << characters << "<" << false << "ab&lt;cd";
  QTest::newRow("greater than") << "Button20"
                                << "Button20" << characters << ">" << false << "ab&gt;cd";
  QTest::newRow("apostrophe") << "Button18"
                              << "Button18" << characters << "'" << false << "ab&apos;cd";
  QTest::newRow("non-breaking space") << "Button21"
                                      << "Button21" << characters << "_" << false << "ab&nbsp;cd";
  QTest::newRow("quotation mark") << "Button22"
                                  << "Button22" << characters << "\"" << false << "ab&quot;cd";
}

void ToolsWindowTest::panelAndWindowButtonsAgree() {
  QFETCH(QString, inWindow);
  QFETCH(QString, inPanel);
  QFETCH(int, tab);
  QFETCH(QString, caption);
  QFETCH(bool, picture);
  QFETCH(QString, result);
  ToolsPanel* panel = window->toolsPanel();
  panel->setCurrentIndex(tab);
  auto* ofPanel = panel->page(ToolsPanel::Tab(tab))->findChild<QAbstractButton*>(inPanel);
  QAbstractButton* ofWindow = tools->button(inWindow);
  QVERIFY(ofPanel && ofWindow);
  QCOMPARE(ofWindow->toolTip(), ofPanel->toolTip());
  if (caption != QLatin1String("*")) {
    QCOMPARE(ofPanel->text(), caption);
    QCOMPARE(ofWindow->text(), caption);
  }
  QCOMPARE(!ofPanel->icon().isNull(), picture);
  QCOMPARE(!ofWindow->icon().isNull(), picture);
  if (picture)
    QVERIFY(sameIcon(ofPanel->icon(), ofWindow->icon()));

  SourceEditor* editor = window->editor();
  for (QAbstractButton* b : {ofPanel, ofWindow}) {
    editor->textDocument().replaceWholeText(QStringLiteral("abxycd"));
    editor->setSelection(tessera::TextPosition(2), 2);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(editor->textDocument().wholeText(), result);
    QTRY_VERIFY(editor->hasFocus());
  }
}

void ToolsWindowTest::closeBoxHidesAndF11ShowsAgain() {
  const QIcon shown = themedIcon(IconId::ToolsWindowShown);
  const QIcon hidden = themedIcon(IconId::ToolsWindowHidden);
  QVERIFY(!sameIcon(shown, hidden));

  QVERIFY(tools->close());
  QVERIFY(!tools->isVisible());
  QVERIFY(window->dialogs()->toolsWindow() == tools); // hidden, not destroyed
  QVERIFY(sameIcon(action("Eszkzksegdablak2")->icon(), hidden));
  QVERIFY(sameIcon(action("ToolButton11")->icon(), hidden));

  action("Eszkzksegdablak2")->trigger(); // F11
  QVERIFY(tools->isVisible());
  QVERIFY(sameIcon(action("ToolButton11")->icon(), shown));
  // The pointer rests on a button: its hint shows, and goes when the palette does.
  QAbstractButton* bold = tools->button(QStringLiteral("Button6"));
  QStatusTipEvent enter(bold->statusTip());
  QCoreApplication::sendEvent(bold, &enter);
  QCOMPARE(window->statusLine()->panelText(StatusLine::HintPanel), QStringLiteral("Bold (Ctrl+B)"));
  action("ToolButton11")->trigger(); // the toolbar button does the same
  QVERIFY(!tools->isVisible());
  QCOMPARE(window->statusLine()->panelText(StatusLine::HintPanel), QString());
  QVERIFY(sameIcon(action("Eszkzksegdablak2")->icon(), hidden));
  QTest::keyClick(window, Qt::Key_F11);
  QVERIFY(tools->isVisible());
  QVERIFY(sameIcon(action("Eszkzksegdablak2")->icon(), shown));
}

void ToolsWindowTest::transparencyToggle() {
  QAction* item = action("segdablak1");
  QVERIFY(item->isChecked());
  item->trigger();
  QVERIFY(!item->isChecked());
  QCOMPARE(tools->opacity(), 255);
  QCOMPARE(tools->windowOpacity(), 1.0);
  item->trigger();
  QVERIFY(item->isChecked());
  QCOMPARE(tools->opacity(), 200);

  // A hidden window changes its opacity and stays hidden.
  tools->hide();
  item->trigger();
  QCOMPARE(tools->opacity(), 255);
  QVERIFY(!tools->isVisible());
  item->trigger();
  QCOMPARE(tools->opacity(), 200);
  QVERIFY(!tools->isVisible());
}

void ToolsWindowTest::snapsAfterFirstActivation() {
  QVERIFY(tools->snapsToEdges());
  const QRect area = tools->screen()->availableGeometry();
  tools->move(area.left() + 7, area.top() + 200);
  QTRY_COMPARE(tools->frameGeometry().left(), area.left());
  QCOMPARE(tools->frameGeometry().top(), area.top() + 200);
  tools->move(area.left() + 100, area.top() + 200);
  QCOMPARE(tools->frameGeometry().left(), area.left() + 100);

  // A palette that never saw the main window activate does not snap.
  MainWindow other(services->services());
  QVERIFY(!other.dialogs()->toolsWindow()->snapsToEdges());
}

void ToolsWindowTest::balloonsLookLikeTheMainWindows() {
  // The palette carries a component of its own with a raised border...
  auto* own = tools->findChild<TStHint*>(QStringLiteral("StHint1"));
  QVERIFY(own);
  QCOMPARE(own->borderType(), btCtl3D);
  QCOMPARE(own->hintPauseTime(), 250);
  // ...yet a balloon over its buttons is drawn with the main window's solid one.
  TGraphicHintWindow balloon;
  QCOMPARE(balloon.settings().borderType, btSolid);
}

QTEST_MAIN(ToolsWindowTest)
#include "tst_toolswindow.moc"
