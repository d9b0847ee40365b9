#include "TestServices.h"
#include "app/MainWindow.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "generators/GeneratorTexts.h"
#include "generators/Generators.h"
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
  // Made when first needed, not with the main window.
  QVERIFY(!w.findChild<QDialog*>(window));
  if (!shortcut.isEmpty())
    QCOMPARE(w.action(command)->shortcut(), shortcut);

  QString seen;
  bool modal = false;
  const auto run = [&] {
    seen.clear();
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
  };
  run();
  QCOMPARE(seen, window);
  QVERIFY(modal);
  auto* dialog = w.findChild<QDialog*>(window);
  QVERIFY(dialog);
  QVERIFY(!dialog->isVisible());
  // Then kept: the command shows the same window again.
  run();
  QCOMPARE(seen, window);
  QCOMPARE(w.findChildren<QDialog*>(window), QList<QDialog*>{dialog});
}

void GeneratorCommandsTest::tableReachesMainEditor() {
  TestServices t;
  MainWindow w(t.services());
  auto* generators = w.findChild<Generators*>();
  QVERIFY(generators);
  TableEditor* table = generators->tableEditor();
  QCOMPARE(table->objectName(), QStringLiteral("TForm8"));
  // Build output beside the test binaries is not beside this program; use
  // the pictures the build placed for the real one.
  table->setPreviewFolder(QCoreApplication::applicationDirPath() + "/../bin/data");
  SourceEditor* editor = w.editor();
  editor->setSelection(tessera::TextPosition(0), 0);
  QTimer::singleShot(0, this, [table] {
    table->findChild<QRadioButton*>("RadioGroup1Item2")->click();
    table->columnsReady();
    table->findChild<QRadioButton*>("Oszlop2Item2")->click();
    table->rowsReadyMoreColumns();
    table->findChild<QPushButton*>("KetX2")->click();
  });
  w.action("blzatkszt1")->trigger();
  QVERIFY2(t.prompts.asked.isEmpty(), qPrintable(t.prompts.asked.value(0).text));
  QVERIFY(editor->textDocument().wholeText().startsWith(tableText(2, 2) + "<?xml"));
  QVERIFY(editor->textDocument().isModified());
  QVERIFY(!table->isVisible());
}

QTEST_MAIN(GeneratorCommandsTest)
#include "tst_generatorcommands.moc"
