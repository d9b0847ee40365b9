#include "TestServices.h"
#include "app/MainWindow.h"
#include "app/StatusLine.h"
#include "document/DefaultDocument.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "tools/ToolsPanel.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace tessera;

class MainWindowTest : public QObject {
  Q_OBJECT
private slots:
  void startState();
  void menuItems_data();
  void menuItems();
  void hiddenItemsActOnlyThroughShortcuts();
  void toolbarButtons();
  void statusPanels();
  void closeQuestion_data();
  void closeQuestion();
  void closeWriteFailureKeepsWindow();
  void startupFile_data();
  void startupFile();
};

void MainWindowTest::startState() {
  TestServices t;
  MainWindow w(t.services());
  QCOMPARE(w.windowTitle(), QStringLiteral("WML Tessera 1.0"));
  QCOMPARE(w.objectName(), QStringLiteral("TForm1"));
  QCOMPARE(w.size(), QSize(831, 585));
  QCOMPARE(w.editor()->textDocument().wholeText(), defaultDocument());
  QVERIFY(!w.editor()->textDocument().isModified());
  QCOMPARE(w.editor()->caretPosition().value, 0);
  ToolsPanel* panel = w.toolsPanel();
  QCOMPARE(panel->count(), 13);
  const QStringList captions = {"General tools", "Link",    "Image",      "Image link",
                                "Card",          "Button",  "Phone call", "Name list",
                                "Input field",   "Comment", "Formatting", "Characters, symbols",
                                "Other"};
  for (int i = 0; i < 13; ++i)
    QCOMPARE(panel->tabText(i), captions[i]);
  QCOMPARE(panel->height(), 65);
  QCOMPARE(w.statusLine()->panelText(StatusLine::RowPanel), QStringLiteral("Row: 1"));
  QCOMPARE(w.statusLine()->panelText(StatusLine::CharPanel), QStringLiteral("Char.: 0"));
  // Closing an untouched window asks nothing.
  w.show();
  QVERIFY(w.close());
  QVERIFY(t.prompts.asked.isEmpty());
}

void MainWindowTest::menuItems_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("shortcut");
  QTest::addColumn<int>("checked"); // -1 not checkable, 0 off, 1 on
  QTest::newRow("new file") << "Fjl2"
                            << "&File..."
                            << "Ctrl+N" << -1;
  QTest::newRow("wizard") << "Varzsl1"
                          << "&Site Wizard..."
                          << "Ctrl+W" << -1;
  QTest::newRow("window") << "Window1"
                          << "&Window..."
                          << "" << -1;
  QTest::newRow("open") << "Nyomtats1"
                        << "&Open..."
                        << "Ctrl+O" << -1;
  QTest::newRow("save") << "Ments1"
                        << "&Save..."
                        << "Ctrl+S" << -1;
  QTest::newRow("print") << "Nyomtats2"
                         << "&Print"
                         << "Ctrl+P" << -1;
  QTest::newRow("exit") << "Kilps1"
                        << "&Exit"
                        << "Ctrl+Q" << -1;
  QTest::newRow("undo") << "Visszavons1"
                        << "&Undo"
                        << "Ctrl+Z" << -1;
  QTest::newRow("delete") << "rls1"
                          << "&Delete"
                          << "" << -1;
  QTest::newRow("goto") << "GotoLine1"
                        << "&Go to Line..."
                        << "Ctrl+G" << -1;
  QTest::newRow("date") << "Id1"
                        << "&Date and Time..."
                        << "F5" << -1;
  QTest::newRow("table") << "blzatkszt1"
                         << "&Table Editor..."
                         << "F9" << -1;
  QTest::newRow("dropdown") << "L1"
                            << "&Drop-down Menu Editor..."
                            << "F10" << -1;
  QTest::newRow("upper") << "UpperChase1"
                         << "&Upper Chase"
                         << "" << -1;
  QTest::newRow("wrap") << "Szveg1"
                        << "&Word Wrap"
                        << "" << 1;
  QTest::newRow("small") << "Betmretkicsi1"
                         << "&Font Size - Small"
                         << "" << 0;
  QTest::newRow("normal") << "Betmretnorml1"
                          << "&Font Size - Normal"
                          << "" << 1;
  QTest::newRow("transparency") << "segdablak1"
                                << "&Tools Window Transparency"
                                << "" << 1;
  QTest::newRow("movable") << "Flekmozgathatsga1"
                           << "&Movability of tabs"
                           << "" << 1;
  QTest::newRow("backup") << "Makebackup1"
                          << "&Backup Saving"
                          << "" << 0;
  QTest::newRow("bubbles") << "SegtsgBE1"
                           << "&Help bubbles"
                           << "" << 1;
  QTest::newRow("on top") << "Stayontop1"
                          << "Stay on top"
                          << "" << 0;
  QTest::newRow("tools window") << "Eszkzksegdablak2"
                                << "&Tools Window"
                                << "F11" << -1;
  QTest::newRow("1024") << "N1024x7681"
                        << "&1024 x 768"
                        << "" << -1;
  QTest::newRow("web page") << "Weboldal1"
                            << "&WML Tessera Online..."
                            << "" << -1;
  QTest::newRow("mail") << "EMail1"
                        << "&E-mail Contact..."
                        << "" << -1;
  QTest::newRow("about") << "Info1"
                         << "&About WML Tessera..."
                         << "" << -1;
}

void MainWindowTest::menuItems() {
  QFETCH(QString, name);
  QFETCH(QString, caption);
  QFETCH(QString, shortcut);
  QFETCH(int, checked);
  TestServices t;
  MainWindow w(t.services());
  auto* action = w.findChild<QAction*>(name);
  QVERIFY(action);
  QCOMPARE(action->text(), caption);
  QCOMPARE(action->shortcut().toString(), shortcut);
  QCOMPARE(action->isCheckable(), checked >= 0);
  if (checked >= 0)
    QCOMPARE(action->isChecked(), checked == 1);
}

void MainWindowTest::hiddenItemsActOnlyThroughShortcuts() {
  TestServices t;
  MainWindow w(t.services());
  QStringList top;
  for (QAction* a : w.menuBar()->actions())
    top << a->text();
  QCOMPARE(top, (QStringList{"File", "Edit", "Tools", "Options", "View", "Deck", "Help"}));
  for (const char* name : {"CtrlB1", "CtrlI1", "CtrlU1"}) {
    QAction* hidden = w.action(QString::fromLatin1(name));
    QVERIFY(hidden);
    for (QMenu* menu : w.findChildren<QMenu*>())
      QVERIFY(!menu->actions().contains(hidden));
    QVERIFY(w.actions().contains(hidden)); // the window's shortcut still reaches it
  }
  QCOMPARE(w.action("CtrlU1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_U));
  QCOMPARE(w.action("Nyomtats2")->statusTip(), QStringLiteral("Forráskód nyomtatása"));
}

void MainWindowTest::toolbarButtons() {
  TestServices t;
  MainWindow w(t.services());
  const QList<QPair<QString, QString>> buttons = {
      {"ToolButton1", "New (Ctrl+N)"},        {"ToolButton2", "Open (Ctrl+O)"},
      {"ToolButton3", "Save (Ctrl+S)"},       {"ToolButton6", "Cut (Ctrl+X)"},
      {"ToolButton7", "Copy (Ctrl+C)"},       {"ToolButton8", "Paste (Ctrl+V)"},
      {"ToolButton10", "Table Editor (F9)"},  {"ToolButton4", "Drop-down Menu Editor (F10)"},
      {"ToolButton11", "Tools window (F11)"}, {"ToolButton13", "About"}};
  QStringList order;
  for (QAction* a : w.toolBar()->actions())
    order << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
  QCOMPARE(order, (QStringList{"ToolButton1", "ToolButton2", "ToolButton3", "|", "ToolButton6",
                               "ToolButton7", "ToolButton8", "|", "ToolButton10", "ToolButton4",
                               "ToolButton11", "|", "ToolButton13"}));
  for (const auto& [name, hint] : buttons) {
    auto* button = w.toolBar()->findChild<QToolButton*>(name);
    QVERIFY2(button, qPrintable(name));
    QCOMPARE(button->toolTip(), hint);
    QVERIFY(!button->icon().isNull());
    QCOMPARE(button->size(), QSize(33, 25));
  }
  // A button runs its menu item.
  int exits = 0;
  connect(w.action("Info1"), &QAction::triggered, [&] { ++exits; });
  // The About box it opens is modal: close it once it shows.
  QTimer::singleShot(0, [] {
    if (QWidget* modal = QApplication::activeModalWidget())
      modal->close();
  });
  w.toolBar()->findChild<QToolButton*>("ToolButton13")->click();
  QCOMPARE(exits, 1);
}

void MainWindowTest::statusPanels() {
  TestServices t;
  t.lockKeys.state = {true, true, false, true};
  MainWindow w(t.services());
  w.show();
  w.resize(640, 480);
  QTRY_COMPARE(w.statusLine()->width(), w.centralWidget()->width());
  // The hint panel takes what the others leave; the encoding panel is the
  // last of the fixed ones, the compiled-size panel sits after it.
  QCOMPARE(w.statusLine()->panel(StatusLine::HintPanel)->width(),
           w.statusLine()->width() - 250 - 140 -
               w.findChild<QLabel*>("CompiledSizePanel")->width());
  for (auto [panel, width] : {std::pair{StatusLine::RowPanel, 65},
                              {StatusLine::CharPanel, 70},
                              {StatusLine::NumPanel, 35},
                              {StatusLine::CapsPanel, 35},
                              {StatusLine::ScrollPanel, 45},
                              {StatusLine::EncodingPanel, 140}})
    QCOMPARE(w.statusLine()->panel(panel)->width(), width);

  w.refreshLockKeys();
  QCOMPARE(w.statusLine()->panelText(StatusLine::NumPanel), QStringLiteral("NUM"));
  QCOMPARE(w.statusLine()->panelText(StatusLine::CapsPanel), QString());
  QCOMPARE(w.statusLine()->panelText(StatusLine::ScrollPanel), QStringLiteral("SCR"));
  t.lockKeys.state = {}; // a platform that cannot tell leaves the panels empty
  w.refreshLockKeys();
  QCOMPARE(w.statusLine()->panelText(StatusLine::NumPanel), QString());

  QStatusTipEvent tip(QStringLiteral("Forráskód nyomtatása"));
  QApplication::sendEvent(&w, &tip);
  QCOMPARE(w.statusLine()->panelText(StatusLine::HintPanel),
           QStringLiteral("Forráskód nyomtatása"));

  // The caret after the final line break of the default document: row 13,
  // column 0 (without wrapping: at 640 pixels the DOCTYPE line takes two rows).
  SourceEditor* e = w.editor();
  e->setLineWrapMode(QPlainTextEdit::NoWrap);
  e->setSelection(tessera::TextPosition(e->textDocument().textLength()), 0);
  e->refreshStatus();
  QCOMPARE(w.statusLine()->panelText(StatusLine::RowPanel), QStringLiteral("Row: 13"));
  QCOMPARE(w.statusLine()->panelText(StatusLine::CharPanel), QStringLiteral("Char.: 0"));
  QVERIFY(!e->textDocument().isModified());
}

void MainWindowTest::closeQuestion_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<QString>("fileName"); // "" = cancel the save dialog
  QTest::addColumn<bool>("closes");
  QTest::addColumn<bool>("written");
  QTest::newRow("cancel") << int(QMessageBox::Cancel) << QString() << false << false;
  QTest::newRow("no") << int(QMessageBox::No) << QString() << true << false;
  QTest::newRow("yes, dialog cancelled") << int(QMessageBox::Yes) << QString() << false << false;
  QTest::newRow("yes, saved") << int(QMessageBox::Yes) << "deck" << true << true;
}

void MainWindowTest::closeQuestion() {
  QFETCH(int, answer);
  QFETCH(QString, fileName);
  QFETCH(bool, closes);
  QFETCH(bool, written);
  QTemporaryDir dir;
  TestServices t;
  MainWindow w(t.services());
  w.show();
  w.editor()->insertAtCaret(QStringLiteral("x"));
  QVERIFY(w.editor()->textDocument().isModified());
  t.prompts.answerButton(QMessageBox::StandardButton(answer));
  if (answer == QMessageBox::Yes)
    t.prompts.answerFile(fileName.isEmpty() ? QString() : dir.filePath(fileName));
  QCOMPARE(w.close(), closes);
  QCOMPARE(t.prompts.beeps, 1);
  const auto& q = t.prompts.asked.first();
  QCOMPARE(q.caption, QStringLiteral("Confirm"));
  QCOMPARE(q.icon, QMessageBox::Question);
  QCOMPARE(
      q.text,
      QStringLiteral("The text in the file has been changed.\n\rDo you want to save the changes?"));
  QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  QVERIFY(!t.prompts.anyUnexpected());
  QCOMPARE(QFile::exists(dir.filePath("deck.wml")), written);
  if (written) {
    QFile f(dir.filePath("deck.wml"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), (QStringLiteral("x") + defaultDocument()).toUtf8());
    QCOMPARE(t.prompts.asked.at(1).file.initialName, QStringLiteral("Untitled1"));
    QCOMPARE(t.prompts.asked.at(1).file.defaultSuffix, QStringLiteral("wml"));
  }
  if (!closes)
    QVERIFY(w.editor()->textDocument().isModified());
}

void MainWindowTest::closeWriteFailureKeepsWindow() {
  QTemporaryDir dir;
  TestServices t;
  MainWindow w(t.services());
  w.show();
  w.editor()->insertAtCaret(QStringLiteral("x"));
  t.prompts.answerButton(QMessageBox::Yes);
  // A folder that cannot exist: below a regular file (fails even for root).
  QFile plain(dir.filePath("plain"));
  QVERIFY(plain.open(QIODevice::WriteOnly));
  plain.close();
  const QString target = dir.filePath("plain/deck.wml");
  t.prompts.answerFile(target);
  QVERIFY(!w.close());
  QVERIFY(w.editor()->textDocument().isModified());
  QCOMPARE(t.prompts.asked.size(), 3);
  QCOMPARE(t.prompts.asked.last().caption, QStringLiteral("Error"));
  QVERIFY(t.prompts.asked.last().text.startsWith(
      QStringLiteral("Cannot create file \"%1\". ").arg(target)));
}

void MainWindowTest::startupFile_data() {
  QTest::addColumn<QByteArray>("content"); // empty: the file does not exist
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("errors");
  QTest::newRow("other text") << QByteArray("<wml>\n</wml>") << "<wml>\r\n</wml>" << 0;
  QTest::newRow("same as default") << defaultDocument().toUtf8() << defaultDocument() << 0;
  QTest::newRow("missing") << QByteArray() << defaultDocument() << 1;
}

void MainWindowTest::startupFile() {
  QFETCH(QByteArray, content);
  QFETCH(QString, text);
  QFETCH(int, errors);
  QTemporaryDir dir;
  const QString path = dir.filePath("start.wml");
  if (!content.isEmpty()) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
  }
  TestServices t;
  MainWindow w(t.services());
  w.loadStartupFile(path);
  QCOMPARE(w.editor()->textDocument().wholeText(), text);
  QCOMPARE(t.prompts.asked.size(), errors);
  if (errors)
    QCOMPARE(t.prompts.asked.first().text.left(18), QStringLiteral("Cannot open file \""));
  // Loading counts as opening: nothing to save yet, closing asks nothing.
  QVERIFY(!w.editor()->textDocument().isModified());
  w.show();
  QVERIFY(w.close());
  QCOMPARE(t.prompts.asked.size(), errors);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
