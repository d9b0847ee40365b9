#include "TestServices.h"
#include "app/MainWindow.h"
#include "editor/SourceEditor.h"
#include "generators/GeneratorTexts.h"
#include "generators/TableEditor.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace tessera;

// The main window's commands open the generator windows modally, and what
// they insert reaches the main window's editor.
class GeneratorCommandsTest : public QObject {
  Q_OBJECT
private slots:
  void commandsOpenTheirWindow_data();
  void commandsOpenTheirWindow();
  void tableReachesMainEditor();
};

void GeneratorCommandsTest::commandsOpenTheirWindow_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<bool>("toolButton");
  QTest::addColumn<QString>("window");
  QTest::addColumn<QKeySequence>("shortcut");
  QTest::newRow("table editor menu")
      << "blzatkszt1" << false << "TForm8" << QKeySequence(Qt::Key_F9);
  QTest::newRow("table editor button") << "ToolButton10" << true << "TForm8" << QKeySequence();
  QTest::newRow("drop-down menu editor menu")
      << "L1" << false << "TForm7" << QKeySequence(Qt::Key_F10);
  QTest::newRow("drop-down menu editor button")
      << "ToolButton4" << true << "TForm7" << QKeySequence();
  QTest::newRow("site wizard") << "Varzsl1" << false << "TForm6"
                               << QKeySequence(Qt::CTRL | Qt::Key_W);
}

void GeneratorCommandsTest::commandsOpenTheirWindow() {
  QFETCH(QString, command);
  QFETCH(bool, toolButton);
  QFETCH(QString, window);
  QFETCH(QKeySequence, shortcut);
  TestServices t;
  MainWindow w(t.services());
  auto* dialog = w.findChild<QDialog*>(window);
  QVERIFY(dialog);
  QVERIFY(!dialog->isVisible());
  if (!shortcut.isEmpty())
    QCOMPARE(w.action(command)->shortcut(), shortcut);

  QString seen;
  bool modal = false;
  QTimer::singleShot(0, this, [&] {
    if (QWidget* shown = QApplication::activeModalWidget()) {
      seen = shown->objectName();
      modal = shown->isModal();
      shown->close();
    }
  });
  if (toolButton) {
    auto* button = w.toolBar()->findChild<QToolButton*>(command);
    QVERIFY(button);
    button->click();
  } else {
    w.action(command)->trigger();
  }
  QCOMPARE(seen, window);
  QVERIFY(modal);
  QVERIFY(!dialog->isVisible());
  // The same window every time: created once, never on demand.
  QCOMPARE(w.findChildren<QDialog*>(window).size(), 1);
}

void GeneratorCommandsTest::tableReachesMainEditor() {
  TestServices t;
  MainWindow w(t.services());
  auto* table = w.findChild<TableEditor*>("TForm8");
  QVERIFY(table);
  // Build output beside the test binaries is not beside this program; use
  // the pictures the build placed for the real one.
  table->setPreviewFolder(QCoreApplication::applicationDirPath() + "/../bin/data");
  SourceEditor* editor = w.editor();
  editor->setSelection(0, 0);
  QTimer::singleShot(0, this, [table] {
    table->findChild<QRadioButton*>("RadioGroup1Item2")->click();
    table->columnsReady();
    table->findChild<QRadioButton*>("Oszlop2Item2")->click();
    table->rowsReadyMoreColumns();
    table->findChild<QPushButton*>("KetX2")->click();
  });
  w.action("blzatkszt1")->trigger();
  QVERIFY2(t.prompts.asked.isEmpty(), qPrintable(t.prompts.asked.value(0).text));
  QVERIFY(editor->wholeText().startsWith(tableText(2, 2) + "<?xml"));
  QVERIFY(editor->isModifiedFlag());
  QVERIFY(!table->isVisible());
}

QTEST_MAIN(GeneratorCommandsTest)
#include "tst_generatorcommands.moc"
