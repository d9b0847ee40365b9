#include "TestServices.h"
#include "app/Backup.h"
#include "app/MainWindow.h"
#include "app/ViewSettings.h"
#include "deck/SyntaxColouring.h"
#include "dialogs/ToolsWindow.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "info/BalloonHints.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace tessera;

// Every menu command and toolbar button does what it is for when chosen:
// one row per item, naming what it changes in an otherwise unchanged
// window. An item whose command lost its binding changes nothing and
// fails its row; an item bound to the wrong command fails on what changed.
class CommandWiringTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void everyItemHasARow();
  void itemRunsItsCommand_data();
  void itemRunsItsCommand();
};

namespace {

struct Row {
  const char* item;
  const char* changes;
};

// What choosing each item changes (in the order of the keys), from the
// start below: "one two!" with
// "one" selected, the "!" typed (so Undo has a step), the document saved,
// the editor focused, "clip" on the clipboard.
const Row kRows[] = {
    {"Fjl2", "selection=0+0; text=<?xml version=\"1.0\"?>|<!-- Cre"},
    {"Varzsl1", "modal=TForm6"},
    {"Window1", "shell=start"},
    {"Nyomtats1", "asked=open"},
    {"Ments1", "asked=save"},
    {"Nyomtats2", "asked=message"},
    {"Kilps1", "shown=no"},
    {"Visszavons1", "selection=7+0; text=one two"},
    {"Msols1", "clipboard=one"},
    {"Beilleszts1", "selection=4+0; text=clip two!"},
    {"Kivgs1", "clipboard=one; selection=0+0; text= two!"},
    {"rls1", "selection=0+0; text= two!"},
    {"Find1", "windows=FindDialog1,TForm9"},
    {"Csere1", "windows=ReplaceDialog1,TForm9"},
    {"GotoLine1", "modal=TForm15"},
    {"Mindetkijell1", "selection=0+8"},
    {"Id1", "modal=TForm13"},
    {"blzatkszt1", "modal=TForm8"},
    {"L1", "modal=TForm7"},
    {"UpperChase1", "selection=3+0; text=ONE two!"},
    {"Lowerchase1", "selection=3+0"},
    {"Szveg1", "wrap=off"},
    {"Betmretkicsi1", "font=10"},
    {"Betmretnorml1", ""}, // already the size: it stays checked, nothing changes
    {"segdablak1", "opacity=255"},
    {"Flekmozgathatsga1", "movableTabs=no"},
    {"Makebackup1", "backup=on"},
    {"SegtsgBE1", "bubbles=off"},
    {"Stayontop1", "onTop=yes"},
    {"SyntaxColouring1", "colouring=off"},
    {"Eszkzksegdablak2", "windows="},
    {"EditorsBackgroundColor1", "asked=colour"},
    {"N640x4801", "size=640x480"},
    {"N800x6001", "size=800x600"},
    {"N1024x7681", "size=1024x768"},
    {"Weboldal1", "shell=open"},
    {"EMail1", "shell=open"},
    {"Info1", "modal=TForm3"},
    {"CtrlB1", "selection=6+0; text=<b>one</b> two!"},
    {"CtrlI1", "selection=6+0; text=<i>one</i> two!"},
    {"CtrlU1", "selection=6+0; text=<u>one</u> two!"},
    // Toolbar buttons run their menu items.
    {"ToolButton1", "selection=0+0; text=<?xml version=\"1.0\"?>|<!-- Cre"},
    {"ToolButton2", "asked=open"},
    {"ToolButton3", "asked=save"},
    {"ToolButton6", "clipboard=one; selection=0+0; text= two!"},
    {"ToolButton7", "clipboard=one"},
    {"ToolButton8", "selection=4+0; text=clip two!"},
    {"ToolButton10", "modal=TForm8"},
    {"ToolButton4", "modal=TForm7"},
    {"ToolButton11", "windows="},
    {"ToolButton13", "modal=TForm3"},
};

QString yesNo(bool on) { return on ? QStringLiteral("yes") : QStringLiteral("no"); }

// The parts of the program's state a command may change, as key=value.
QMap<QString, QString> observe(MainWindow& window, TestServices& services) {
  QMap<QString, QString> state;
  const SourceEditor& editor = *window.editor();
  QString text = editor.textDocument().wholeText();
  text.replace(QStringLiteral("\r\n"), QStringLiteral("|"));
  state[QStringLiteral("text")] = text.left(30);
  state[QStringLiteral("selection")] =
      QStringLiteral("%1+%2").arg(editor.selectionStart().value).arg(editor.selectionLength());
  state[QStringLiteral("clipboard")] = QApplication::clipboard()->text();
  QStringList windows;
  for (const QWidget* top : QApplication::topLevelWidgets())
    if (top != &window && top->isVisible() && !qobject_cast<const QMenu*>(top))
      windows << top->objectName();
  windows.sort();
  state[QStringLiteral("windows")] = windows.join(QLatin1Char(','));
  QStringList asked;
  for (const ScriptedPrompts::Asked& question : services.prompts.asked) {
    switch (question.kind) {
    case ScriptedPrompts::Asked::Message: asked << QStringLiteral("message"); break;
    case ScriptedPrompts::Asked::OpenFile: asked << QStringLiteral("open"); break;
    case ScriptedPrompts::Asked::SaveFile: asked << QStringLiteral("save"); break;
    case ScriptedPrompts::Asked::Folder: asked << QStringLiteral("folder"); break;
    case ScriptedPrompts::Asked::Color: asked << QStringLiteral("colour"); break;
    case ScriptedPrompts::Asked::Choice: asked << QStringLiteral("choice"); break;
    }
  }
  state[QStringLiteral("asked")] = asked.join(QLatin1Char(','));
  QStringList shell;
  for (int i = 0; i < services.shell.opened.size(); ++i)
    shell << QStringLiteral("open");
  for (int i = 0; i < services.shell.started.size(); ++i)
    shell << QStringLiteral("start");
  state[QStringLiteral("shell")] = shell.join(QLatin1Char(','));
  state[QStringLiteral("shown")] = yesNo(window.isVisible());
  state[QStringLiteral("wrap")] = editor.lineWrapMode() == QPlainTextEdit::NoWrap
                                      ? QStringLiteral("off")
                                      : QStringLiteral("on");
  state[QStringLiteral("font")] = QString::number(editor.font().pointSize());
  if (auto* tools = window.findChild<ToolsWindow*>())
    state[QStringLiteral("opacity")] = QString::number(tools->opacity());
  state[QStringLiteral("movableTabs")] = yesNo(window.findChild<ViewSettings*>()->tabsMovable());
  state[QStringLiteral("backup")] =
      window.backup()->isOn() ? QStringLiteral("on") : QStringLiteral("off");
  state[QStringLiteral("bubbles")] =
      BalloonHints::showsHint(window.editor()) ? QStringLiteral("on") : QStringLiteral("off");
  state[QStringLiteral("onTop")] = yesNo(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  state[QStringLiteral("colouring")] =
      window.colouring()->isEnabled() ? QStringLiteral("on") : QStringLiteral("off");
  // The inside of the window, below the menu bar.
  state[QStringLiteral("size")] =
      QStringLiteral("%1x%2").arg(window.width()).arg(window.height() - window.menuBar()->height());
  return state;
}

QString changes(const QMap<QString, QString>& before, const QMap<QString, QString>& after) {
  QStringList changed;
  for (auto it = after.cbegin(); it != after.cend(); ++it)
    if (before.value(it.key()) != it.value())
      changed << it.key() + QLatin1Char('=') + it.value();
  return changed.join(QStringLiteral("; "));
}

} // namespace

void CommandWiringTest::init() { QApplication::clipboard()->clear(); }

// A new menu item or toolbar button must come with its row above.
void CommandWiringTest::everyItemHasARow() {
  TestServices services;
  MainWindow window(services.services());
  QSet<QString> rows;
  for (const Row& row : kRows)
    rows.insert(QString::fromLatin1(row.item));
  for (std::size_t id = 0; id < kMainActionCount; ++id) {
    const QAction* action = window.action(MainAction(id));
    QVERIFY(action);
    QVERIFY(!action->objectName().isEmpty());
    if (!action->menu()) // a submenu's holder runs nothing itself
      QVERIFY2(rows.contains(action->objectName()), qPrintable(action->objectName()));
  }
  for (const QAction* button : window.toolBar()->actions())
    if (!button->isSeparator())
      QVERIFY2(rows.contains(button->objectName()), qPrintable(button->objectName()));
}

void CommandWiringTest::itemRunsItsCommand_data() {
  QTest::addColumn<QString>("item");
  QTest::addColumn<QString>("expected");
  for (const Row& row : kRows)
    QTest::newRow(row.item) << QString::fromLatin1(row.item) << QString::fromUtf8(row.changes);
}

void CommandWiringTest::itemRunsItsCommand() {
  QFETCH(QString, item);
  QFETCH(QString, expected);
  TestServices services;
  MainWindow window(services.services());
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  // Start-up ends with the tools window shown beside the main window.
  QTRY_VERIFY(window.findChild<ToolsWindow*>() && window.findChild<ToolsWindow*>()->isVisible());
  window.activateWindow();
  QTRY_VERIFY(window.isActiveWindow());
  window.showNormal(); // the first activation maximised it
  window.resize(500, 400);
  SourceEditor& editor = *window.editor();
  editor.setFocus();
  QTRY_VERIFY(editor.hasFocus());
  editor.textDocument().replaceWholeText(QStringLiteral("one two"));
  editor.setSelection(TextPosition(7), 0);
  QTest::keyClicks(&editor, QStringLiteral("!"));
  editor.setSelection(TextPosition(0), 3);
  editor.textDocument().setModified(false);
  QApplication::clipboard()->setText(QStringLiteral("clip"));
  QAction* action = window.action(item);
  QVERIFY(action);

  const QMap<QString, QString> before = observe(window, services);
  // A modal window the item opens is noted and closed again.
  QString modal;
  QTimer closer;
  closer.setInterval(10);
  connect(&closer, &QTimer::timeout, this, [&modal] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      modal = dialog->objectName();
      dialog->reject();
    }
  });
  closer.start();
  action->trigger();
  closer.stop();
  QMap<QString, QString> after = observe(window, services);
  if (!modal.isEmpty())
    after[QStringLiteral("modal")] = modal;
  QCOMPARE(changes(before, after), expected);
}

QTEST_MAIN(CommandWiringTest)
#include "tst_commandwiring.moc"
