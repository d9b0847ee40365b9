#include "dialogs/DateTimeRenderings.h"
#include "dialogs/DateTimeWindow.h"
#include "dialogs/EditorContextMenu.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QAction>
#include <QHash>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace tessera;

// The editor's context menu (enabling and what each item runs) and the
// Date and Time window.
class ContextMenuTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void itemsInOrder();
  void enabling_data();
  void enabling();
  void undoFollowsTheRecord();
  void editItemsRunTheMainCommands();
  void alignItems_data();
  void alignItems();
  void dialogItems();
  void shiftF10OpensItAtTheCaret();

  void dateTimeInsertsChosen();
  void dateTimeRebuiltOnOpeningKeepsRow();
  void dateTimeDoubleClickAndCancel();

private:
  QWidget* mainWindow = nullptr;
  SourceEditor* editor = nullptr;
  EditorContextMenu* menu = nullptr;
  QHash<QString, QAction*> mainActions;
  int linkOpened = 0;
  int imageOpened = 0;
};

void ContextMenuTest::init() {
  mainWindow = new QWidget;
  editor = new SourceEditor(mainWindow);
  mainActions.clear();
  for (const char* name :
       {"Visszavons1", "Kivgs1", "Msols1", "Beilleszts1", "rls1", "Mindetkijell1"})
    mainActions.insert(QString::fromLatin1(name), new QAction(mainWindow));
  linkOpened = imageOpened = 0;
  const auto main = [this](const char* name) -> QAction& {
    return *mainActions.value(QString::fromLatin1(name));
  };
  menu = new EditorContextMenu(
      *editor,
      {.undo = main("Visszavons1"),
       .cut = main("Kivgs1"),
       .copy = main("Msols1"),
       .paste = main("Beilleszts1"),
       .deleteSelection = main("rls1"),
       .selectAll = main("Mindetkijell1")},
      [this] { ++linkOpened; }, [this] { ++imageOpened; }, mainWindow);
  editor->textDocument().replaceWholeText(QStringLiteral("one \"word\" <b>x</b>\r\nsecond line"));
}

void ContextMenuTest::cleanup() { delete mainWindow; }

void ContextMenuTest::itemsInOrder() {
  QStringList shown;
  for (QAction* a : menu->actions())
    shown << (a->isSeparator() ? QStringLiteral("-") : a->text());
  QCOMPARE(shown.join(QLatin1Char('|')),
           QStringLiteral("Undo|-|Cut|Copy|Paste|Delete|-|Create Link...|Insert Image...|-|"
                          "Formatting|-|Select All"));
  QStringList align;
  for (QAction* a : menu->formattingMenu()->actions())
    align << a->objectName() + QLatin1Char('=') + a->text();
  QCOMPARE(
      align.join(QLatin1Char('|')),
      QStringLiteral("AlignLeft1=Align Left|AlignCenter1=Align Center|AlignRight1=Align Right"));
  for (QAction* a : menu->actions())
    QVERIFY(a->shortcut().isEmpty());
  QCOMPARE(menu->objectName(), QStringLiteral("PopupMenu1"));
}

void ContextMenuTest::enabling_data() {
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("length");
  QTest::addColumn<QString>("enabled"); // the enabled items, Undo aside
  const QString always = QStringLiteral("Paste1 Formatting1 SelectAll1");
  const QString selected =
      QStringLiteral("Cut1 Copy1 Delete1 AlignLeft1 AlignCenter1 AlignRight1 ") + always;
  QTest::newRow("nothing selected") << 3 << 0 << "InsertImage1 " + always;
  QTest::newRow("plain word") << 0 << 3 << "CreateLink1 " + selected;
  QTest::newRow("quotation mark") << 4 << 6 << selected;
  QTest::newRow("tag") << 11 << 3 << selected;
  QTest::newRow("across lines") << 17 << 6 << selected;
  QTest::newRow("blank only") << 3 << 1 << "CreateLink1 " + selected;
}

void ContextMenuTest::enabling() {
  QFETCH(int, start);
  QFETCH(int, length);
  QFETCH(QString, enabled);
  editor->setSelection(tessera::TextPosition(start), length);
  menu->updateEnabled();
  QStringList on;
  for (const char* name : {"CreateLink1", "InsertImage1", "Cut1", "Copy1", "Delete1", "AlignLeft1",
                           "AlignCenter1", "AlignRight1", "Paste1", "Formatting1", "SelectAll1"})
    if (menu->item(QString::fromLatin1(name))->isEnabled())
      on << QString::fromLatin1(name);
  QCOMPARE(on.join(QLatin1Char(' ')), enabled);
}

void ContextMenuTest::undoFollowsTheRecord() {
  menu->updateEnabled();
  QVERIFY(!menu->item(QStringLiteral("Undo1"))->isEnabled());
  mainWindow->show();
  editor->setFocus();
  QTest::keyClicks(editor, QStringLiteral("ab"));
  menu->updateEnabled();
  QVERIFY(menu->item(QStringLiteral("Undo1"))->isEnabled());
  // A tool's insertion empties the undo record.
  editor->insertAtCaret(QStringLiteral("<br/>"));
  menu->updateEnabled();
  QVERIFY(!menu->item(QStringLiteral("Undo1"))->isEnabled());
}

void ContextMenuTest::editItemsRunTheMainCommands() {
  editor->setSelection(tessera::TextPosition(0), 3);
  menu->updateEnabled();
  const QStringList pairs = {"Undo1=Visszavons1",  "Cut1=Kivgs1",  "Copy1=Msols1",
                             "Paste1=Beilleszts1", "Delete1=rls1", "SelectAll1=Mindetkijell1"};
  for (const QString& pair : pairs) {
    const QString item = pair.section(QLatin1Char('='), 0, 0);
    QSignalSpy ran(mainActions.value(pair.section(QLatin1Char('='), 1, 1)), &QAction::triggered);
    menu->item(item)->setEnabled(true);
    menu->item(item)->trigger();
    QVERIFY2(ran.count() == 1, qPrintable(item));
  }
}

void ContextMenuTest::alignItems_data() {
  QTest::addColumn<QString>("item");
  QTest::addColumn<QString>("value");
  QTest::newRow("left") << "AlignLeft1"
                        << "left";
  QTest::newRow("center") << "AlignCenter1"
                          << "center";
  QTest::newRow("right") << "AlignRight1"
                         << "right";
}

void ContextMenuTest::alignItems() {
  QFETCH(QString, item);
  QFETCH(QString, value);
  editor->textDocument().replaceWholeText(QStringLiteral("a\r\nline\r\nb"));
  editor->setSelection(tessera::TextPosition(3), 4);
  menu->updateEnabled();
  menu->item(item)->trigger();
  const QString wrapped =
      QStringLiteral("<p align=\"") + value + QStringLiteral("\">\r\nline\r\n</p>");
  QCOMPARE(editor->textDocument().wholeText(),
           QStringLiteral("a\r\n") + wrapped + QStringLiteral("\r\nb"));
  QCOMPARE(editor->caretPosition().value, 3 + int(wrapped.size()));
}

void ContextMenuTest::dialogItems() {
  menu->item(QStringLiteral("CreateLink1"))->trigger();
  menu->item(QStringLiteral("InsertImage1"))->trigger();
  QCOMPARE(linkOpened, 1);
  QCOMPARE(imageOpened, 1);
  QCOMPARE(editor->textDocument().wholeText(),
           QStringLiteral("one \"word\" <b>x</b>\r\nsecond line"));
}

void ContextMenuTest::shiftF10OpensItAtTheCaret() {
  mainWindow->show();
  QVERIFY(QTest::qWaitForWindowExposed(mainWindow));
  editor->setSelection(tessera::TextPosition(0), 3); // "one"
  QTest::keyClick(editor, Qt::Key_F10, Qt::ShiftModifier);
  QTRY_VERIFY(menu->isVisible());
  QVERIFY(menu->item(QStringLiteral("CreateLink1"))->isEnabled()); // the enabling ran
  QVERIFY(!menu->item(QStringLiteral("InsertImage1"))->isEnabled());
  const QPoint caret = editor->viewport()->mapToGlobal(editor->cursorRect().bottomLeft());
  QCOMPARE(menu->pos(), caret);
  menu->hide();
  // The key goes no further: nothing is typed and the selection stays.
  QCOMPARE(editor->textDocument().wholeText(),
           QStringLiteral("one \"word\" <b>x</b>\r\nsecond line"));
  QCOMPARE(editor->selectionLength(), 3);
  // F10 alone is not taken.
  QTest::keyClick(editor, Qt::Key_F10);
  QVERIFY(!menu->isVisible());
}

static QDateTime startOfRun() { return QDateTime(QDate(2007, 3, 5), QTime(14, 7, 9)); }

void ContextMenuTest::dateTimeInsertsChosen() {
  DateTimeWindow window(*editor, mainWindow);
  window.setClock(startOfRun);
  window.setRenderingLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  window.refresh();
  QCOMPARE(window.objectName(), QStringLiteral("TForm13"));
  QCOMPARE(window.list()->count(), kDateTimeRenderingCount);
  QCOMPARE(window.list()->currentRow(), 0);
  window.list()->setCurrentRow(16);
  editor->setSelection(tessera::TextPosition(4), 6); // "\"word\""
  window.show();
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
  QVERIFY(!window.isVisible());
  QCOMPARE(editor->textDocument().wholeText(),
           QStringLiteral("one Monday, March 05, 2007 <b>x</b>\r\nsecond line"));
  QCOMPARE(editor->caretPosition().value, 26);
}

void ContextMenuTest::dateTimeRebuiltOnOpeningKeepsRow() {
  DateTimeWindow window(*editor, mainWindow);
  window.setRenderingLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  QDateTime now = startOfRun();
  window.setClock([&now] { return now; });
  window.refresh();
  window.list()->setCurrentRow(19);
  QCOMPARE(window.list()->currentItem()->text(), QStringLiteral("14:07:09"));
  // An hour later the window shows the time of the opening, not of the start.
  now = now.addSecs(3600);
  QTimer::singleShot(0, &window, [&window] { window.insertChosen(); });
  window.exec();
  QCOMPARE(window.list()->currentRow(), 19);
  QVERIFY(editor->textDocument().wholeText().startsWith(QStringLiteral("15:07:09")));
}

void ContextMenuTest::dateTimeDoubleClickAndCancel() {
  DateTimeWindow window(*editor, mainWindow);
  window.setClock(startOfRun);
  window.setRenderingLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  window.refresh();
  const QString before = editor->textDocument().wholeText();
  window.show();
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("BitBtn2")), Qt::LeftButton);
  QVERIFY(!window.isVisible());
  QCOMPARE(editor->textDocument().wholeText(), before);

  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QListWidget* list = window.list();
  QCOMPARE(list->verticalScrollBar()->maximum(), 0); // every rendering in view at once
  list->scrollToItem(list->item(13));
  const QRect row = list->visualItemRect(list->item(13));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
  QCOMPARE(list->currentRow(), 13);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
  QVERIFY(!window.isVisible());
  editor->setSelection(tessera::TextPosition(0), 0);
  QVERIFY(editor->textDocument().wholeText().startsWith(QStringLiteral("2007-03-05")));
}

QTEST_MAIN(ContextMenuTest)
#include "tst_contextmenu.moc"
