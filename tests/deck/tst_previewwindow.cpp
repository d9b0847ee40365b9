#include "TestServices.h"
#include "app/MainWindow.h"
#include "app/StatusLine.h"
#include "deck/DeckMenu.h"
#include "deck/DeckPreview.h"
#include "deck/DeckService.h"
#include "deck/PreviewScreen.h"
#include "deck/PreviewWindow.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "wml/wbxml/DeckCompiler.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

using namespace tessera;

namespace {

QString deckText(const QString& body) {
  return QStringLiteral("<?xml version=\"1.0\"?>\n"
                        "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                        "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n<wml>\n") +
         body + QStringLiteral("</wml>\n");
}

// Hello (a timer), a form, a list, then the request.
const char* const kThreeCards =
    "<card id=\"hello\" title=\"Hello\" ontimer=\"#form\"><timer value=\"30\"/>\n"
    "<p align=\"center\">Welcome</p></card>\n"
    "<card id=\"form\" title=\"Name\"><do type=\"accept\" label=\"Next\"><go href=\"#pick\"/>"
    "</do>\n<p>Name: <input name=\"name\" format=\"A*a\"/></p></card>\n"
    "<card id=\"pick\" title=\"Drink\"><do type=\"accept\" label=\"Order\">\n"
    "<go href=\"http://example.com/order\"><postfield name=\"name\" value=\"$(name)\"/>"
    "<postfield name=\"drink\" value=\"$(drink)\"/></go></do><do type=\"prev\"><prev/></do>\n"
    "<p><select name=\"drink\" title=\"Drinks\"><option value=\"t\">Tea</option>"
    "<option value=\"c\">Coffee</option></select></p></card>\n";

} // namespace

// The preview window's wiring: its controls, following the editor, the
// scriptable screen and the Deck menu's item.
class PreviewWindowTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void controls();
  void threeCardDeckThroughTheSlots();
  void editScreenAndListScreen();
  void workedLikeAPhone_data();
  void workedLikeAPhone();
  void followsEditsAndTheCaret();
  void notWellFormedShowsTheLine();
  void showSourcePutsTheCaretOnTheCard();
  void showSourceRefreshesTheStatusLine();
  void profilesDrawAtTwice_data();
  void profilesDrawAtTwice();
  void menuItemOpensAndCloses();
  void imagesBesideTheDocument();
  void timerRunsOnTheClock();
  void decksBesideTheDocument();
  void lastItemOfTheDeckMenu();
  void dockBesideTheEditor();

private:
  void open(const QString& text);
  QString shown() const { return window->screen()->property("renderedText").toString(); }
  void invoke(const char* slot, QGenericArgument a = {}, QGenericArgument b = {}) {
    QVERIFY(QMetaObject::invokeMethod(window->screen(), slot, a, b));
  }
  template <typename T> T* child(const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
      qFatal("no child %s", name);
    return found;
  }

  QMainWindow* main = nullptr;
  SourceEditor* editor = nullptr;
  DeckService* service = nullptr;
  PreviewWindow* window = nullptr;
};

void PreviewWindowTest::init() {
  main = new QMainWindow;
  editor = new SourceEditor(main);
  main->setCentralWidget(editor);
  service = new DeckService(editor->textDocument(), main);
  window = new PreviewWindow(*editor, *service, main);
  main->addDockWidget(Qt::RightDockWidgetArea, window);
  window->hide();
  main->show();
}

void PreviewWindowTest::cleanup() {
  delete main;
  main = nullptr;
}

void PreviewWindowTest::open(const QString& text) {
  editor->textDocument().replaceWholeText(text);
  QSignalSpy refreshed(window, &PreviewWindow::refreshed);
  window->show();
  QVERIFY(refreshed.wait(5000));
}

void PreviewWindowTest::controls() {
  QCOMPARE(window->windowTitle(), QStringLiteral("Preview"));
  QVERIFY(!window->isModal());
  auto* profiles = child<QComboBox>("PreviewProfile");
  QCOMPARE(profiles->count(), 3);
  QCOMPARE(profiles->itemText(0), QStringLiteral("96 × 65"));
  QCOMPARE(profiles->itemText(2), QStringLiteral("176 × 208"));
  QVERIFY(child<QCheckBox>("PreviewFollow")->isChecked());
  child<QPushButton>("SoftKey1");
  child<QPushButton>("SoftKey2");
  child<QPushButton>("PreviewBack");
  child<QPushButton>("PreviewSource");
  QCOMPARE(child<QTableWidget>("PreviewVariables")->columnCount(), 2);
  child<QListWidget>("PreviewHistory");
  QVERIFY(window->findChild<PreviewScreen*>("PreviewScreen"));
}

void PreviewWindowTest::threeCardDeckThroughTheSlots() {
  open(deckText(kThreeCards));
  QCOMPARE(shown(), QStringLiteral("Hello\nWelcome\n | "));
  invoke("fireTimer");
  QCOMPARE(shown(), QStringLiteral("Name\nName: [input: ]\nNext | "));
  QCOMPARE(child<QPushButton>("SoftKey1")->text(), QStringLiteral("Next"));
  QVERIFY(!child<QPushButton>("SoftKey2")->isEnabled());
  bool taken = true;
  QVERIFY(QMetaObject::invokeMethod(window->screen(), "setInput", Q_RETURN_ARG(bool, taken),
                                    Q_ARG(QString, "name"), Q_ARG(QString, "bob")));
  QVERIFY(!taken);
  QVERIFY(QMetaObject::invokeMethod(window->screen(), "setInput", Q_RETURN_ARG(bool, taken),
                                    Q_ARG(QString, "name"), Q_ARG(QString, "Bob")));
  QVERIFY(taken);
  invoke("pressSoftKey", Q_ARG(int, 1));
  QCOMPARE(shown(), QStringLiteral("Drink\n[select: Tea]\nOrder | Back"));
  invoke("pick", Q_ARG(QString, "drink"), Q_ARG(int, 1));
  QCOMPARE(shown(), QStringLiteral("Drink\n[select: Coffee]\nOrder | Back"));
  auto* variables = child<QTableWidget>("PreviewVariables");
  QCOMPARE(variables->rowCount(), 2);
  QCOMPARE(variables->item(0, 0)->text(), QStringLiteral("drink"));
  QCOMPARE(variables->item(0, 1)->text(), QStringLiteral("c"));
  QCOMPARE(variables->item(1, 1)->text(), QStringLiteral("Bob"));
  auto* history = child<QListWidget>("PreviewHistory");
  QCOMPARE(history->count(), 3);
  QCOMPARE(history->item(2)->text(), QStringLiteral("#pick"));
  child<QPushButton>("SoftKey1")->click();
  QCOMPARE(shown(), QStringLiteral("GET http://example.com/order?name=Bob&drink=c\n | Back"));
  invoke("back");
  QCOMPARE(shown(), QStringLiteral("Drink\n[select: Coffee]\nOrder | Back"));
  child<QPushButton>("PreviewBack")->click();
  QCOMPARE(shown(), QStringLiteral("Name\nName: [input: Bob]\nNext | "));
}

void PreviewWindowTest::editScreenAndListScreen() {
  open(deckText(kThreeCards));
  invoke("fireTimer");
  invoke("openInput", Q_ARG(QString, "name"));
  QCOMPARE(shown(), QStringLiteral("name\n[input: ]\nFormat: 1 capital letter or symbol, any "
                                   "number of small letters or symbols\nOK | Back"));
  QTest::keyClicks(window->screen(), QStringLiteral("ann"));
  QVERIFY(shown().startsWith(QStringLiteral("name\n[input: ]\n")));
  QTest::keyClick(window->screen(), Qt::Key_Return);
  QVERIFY(shown().contains(QStringLiteral("\nA value is required\nOK | Back")));
  QTest::keyClicks(window->screen(), QStringLiteral("Ann"));
  QTest::keyClick(window->screen(), Qt::Key_Return);
  QCOMPARE(shown(), QStringLiteral("Name\nName: [input: Ann]\nNext | "));
  invoke("pressSoftKey", Q_ARG(int, 1));
  invoke("openList", Q_ARG(QString, "drink"));
  QCOMPARE(shown(), QStringLiteral("Drinks\n(*) Tea\n( ) Coffee\nSelect | Back"));
  QTest::keyClick(window->screen(), Qt::Key_Down);
  QTest::keyClick(window->screen(), Qt::Key_Return);
  QCOMPARE(shown(), QStringLiteral("Drink\n[select: Coffee]\nOrder | Back"));
}

// The screen driven as a phone is: keys (arrows, Enter, F1 and F2 for the
// soft keys, Backspace), typing into an entry, clicks on links, fields,
// list rows and soft keys.
void PreviewWindowTest::workedLikeAPhone_data() {
  QTest::addColumn<QString>("body");
  QTest::addColumn<QStringList>("actions");
  QTest::addColumn<QString>("shown");
  const QString three = QString::fromUtf8(kThreeCards);
  const QString links = QStringLiteral(
      "<card id=\"a\"><p><a href=\"#b\">first</a> <a href=\"#c\">second</a></p></card>\n"
      "<card id=\"b\"><p>B</p></card><card id=\"c\"><p>C</p></card>\n");
  const QString nameEdit = QStringLiteral("name\n[input: %1]\nFormat: 1 capital letter or "
                                          "symbol, any number of small letters or symbols\n%2"
                                          "OK | Back");
  const QString name = QStringLiteral("Name\nName: [input: %1]\nNext | ");
  const QString drink = QStringLiteral("Drink\n[select: %1]\nOrder | Back");
  QTest::newRow("Enter follows the focused link") << links << QStringList{"Return"} << "\nB\n | ";
  QTest::newRow("Down moves to the next link")
      << links << QStringList{"Down", "Return"} << "\nC\n | ";
  QTest::newRow("Right moves on, Left back")
      << links << QStringList{"Right", "Left", "Return"} << "\nB\n | ";
  QTest::newRow("a click follows the link") << links << QStringList{"click 1"} << "\nC\n | ";
  QTest::newRow("Backspace goes back")
      << links << QStringList{"click 1", "Backspace"} << "\n[first] [second]\n | ";
  QTest::newRow("F1 presses the left soft key")
      << three << QStringList{"fire", "F1"} << drink.arg("Tea");
  QTest::newRow("F2 presses the right soft key")
      << three << QStringList{"fire", "F1", "F2"} << name.arg(QString());
  QTest::newRow("a click on a soft key presses it")
      << three << QStringList{"fire", "left key"} << drink.arg("Tea");
  QTest::newRow("Enter edits the field, Enter takes it")
      << three << QStringList{"fire", "Return", "type Bob", "Return"} << name.arg("Bob");
  QTest::newRow("a click on the field edits it")
      << three << QStringList{"fire", "click 0"} << nameEdit.arg(QString(), QString());
  QTest::newRow("the mask refuses a small letter first")
      << three << QStringList{"fire", "Return", "type b"}
      << nameEdit.arg(QString(), "\"b\" refused: character 1 must be a capital letter or symbol\n");
  QTest::newRow("the mask refuses a digit later")
      << three << QStringList{"fire", "Return", "type Bo7"}
      << nameEdit.arg("Bo", "\"7\" refused: character 3 must be a small letter or symbol\n");
  QTest::newRow("the next right character is taken")
      << three << QStringList{"fire", "Return", "type bB"} << nameEdit.arg("B", QString());
  QTest::newRow("Backspace deletes in the entry")
      << three << QStringList{"fire", "Return", "type Bo", "Backspace"}
      << nameEdit.arg("B", QString());
  QTest::newRow("F2 leaves the entry unchanged")
      << three << QStringList{"fire", "Return", "type Bo", "F2"} << name.arg(QString());
  QTest::newRow("a click opens the list, a click picks")
      << three << QStringList{"fire", "F1", "click 0", "click 1"} << drink.arg("Coffee");
  QTest::newRow("Down and Enter pick from the list")
      << three << QStringList{"fire", "F1", "Return", "Down", "Return"} << drink.arg("Coffee");
}

void PreviewWindowTest::workedLikeAPhone() {
  QFETCH(QString, body);
  QFETCH(QStringList, actions);
  QFETCH(QString, shown);
  open(deckText(body));
  PreviewScreen* phone = window->screen();
  const QMap<QString, Qt::Key> keys{
      {"Return", Qt::Key_Return},      {"Down", Qt::Key_Down}, {"Left", Qt::Key_Left},
      {"Right", Qt::Key_Right},        {"F1", Qt::Key_F1},     {"F2", Qt::Key_F2},
      {"Backspace", Qt::Key_Backspace}};
  for (const QString& action : actions) {
    if (keys.contains(action)) {
      QTest::keyClick(phone, keys.value(action));
    } else if (action.startsWith("type ")) {
      QTest::keyClicks(phone, action.mid(5));
    } else if (action.startsWith("click ")) {
      const QRect area = phone->targetArea(action.mid(6).toInt());
      QVERIFY2(!area.isEmpty(), qPrintable(action));
      QTest::mouseClick(phone, Qt::LeftButton, {}, area.center());
    } else if (action == "left key") {
      QTest::mouseClick(phone, Qt::LeftButton, {}, QPoint(4, phone->height() - 4));
    } else if (action == "fire") {
      invoke("fireTimer");
    }
  }
  QCOMPARE(this->shown(), shown);
}

void PreviewWindowTest::followsEditsAndTheCaret() {
  open(deckText(kThreeCards));
  invoke("fireTimer");
  invoke("setInput", Q_ARG(QString, "name"), Q_ARG(QString, "Bob"));
  // An edit in the form card: shown again after the pause, variables kept.
  QTextCursor cursor = editor->document()->find(QStringLiteral("Name: "));
  QVERIFY(!cursor.isNull());
  QSignalSpy refreshed(window, &PreviewWindow::refreshed);
  cursor.setPosition(cursor.selectionEnd());
  cursor.insertText(QStringLiteral("Your name: "));
  editor->setTextCursor(cursor);
  QVERIFY(refreshed.wait(5000));
  QCOMPARE(shown(), QStringLiteral("Name\nName: Your name: [input: Bob]\nNext | "));
  // The caret into another card shows it at once.
  editor->setTextCursor(editor->document()->find(QStringLiteral("Tea")));
  QCOMPARE(shown(), QStringLiteral("Drink\n[select: Tea]\nOrder | Back"));
  // Not following: the caret moves, the screen stays.
  child<QCheckBox>("PreviewFollow")->setChecked(false);
  editor->setTextCursor(editor->document()->find(QStringLiteral("Welcome")));
  QCOMPARE(shown(), QStringLiteral("Drink\n[select: Tea]\nOrder | Back"));
}

void PreviewWindowTest::notWellFormedShowsTheLine() {
  open(deckText("<card id=\"a\">\n<p>x\n</card>\n"));
  QCOMPARE(shown(), QStringLiteral("Not well-formed\nLine 5: <p> opened here is not closed "
                                   "before </card> on line 6.\n | "));
}

void PreviewWindowTest::showSourcePutsTheCaretOnTheCard() {
  open(deckText(kThreeCards));
  invoke("fireTimer");
  child<QPushButton>("PreviewSource")->click();
  const QTextCursor caret = editor->textCursor();
  QCOMPARE(caret.blockNumber() + 1, 6);
  QVERIFY(caret.block().text().mid(caret.positionInBlock()).startsWith("<card id=\"form\""));
}

// In the program the status line follows the caret Show Source placed, not
// only the next one moved by hand.
void PreviewWindowTest::showSourceRefreshesTheStatusLine() {
  TestServices t;
  MainWindow w(t.services());
  w.show();
  w.editor()->textDocument().replaceWholeText(deckText(kThreeCards));
  w.editor()->moveCursor(QTextCursor::Start);
  w.editor()->refreshStatus();
  const QString before = w.statusLine()->panelText(StatusLine::RowPanel);
  w.deckPreview()->previewAction()->trigger();
  PreviewWindow* shownWindow = w.deckPreview()->window();
  QVERIFY(shownWindow);
  QSignalSpy refreshed(shownWindow, &PreviewWindow::refreshed);
  QVERIFY(refreshed.count() > 0 || refreshed.wait(5000));
  QVERIFY(QMetaObject::invokeMethod(shownWindow->screen(), "fireTimer"));
  shownWindow->findChild<QPushButton*>("PreviewSource")->click();
  const QString row = w.statusLine()->panelText(StatusLine::RowPanel);
  const QString column = w.statusLine()->panelText(StatusLine::CharPanel);
  QCOMPARE(w.editor()->textCursor().blockNumber() + 1, 6);
  QVERIFY(row != before);
  w.editor()->refreshStatus(); // what a caret moved by hand would show
  QCOMPARE(row, w.statusLine()->panelText(StatusLine::RowPanel));
  QCOMPARE(column, w.statusLine()->panelText(StatusLine::CharPanel));
}

void PreviewWindowTest::profilesDrawAtTwice_data() {
  QTest::addColumn<int>("profile");
  QTest::addColumn<QSize>("size");
  QTest::newRow("96 × 65") << 0 << QSize(192, 130);
  QTest::newRow("128 × 128") << 1 << QSize(256, 256);
  QTest::newRow("176 × 208") << 2 << QSize(352, 416);
}

void PreviewWindowTest::profilesDrawAtTwice() {
  QFETCH(int, profile);
  QFETCH(QSize, size);
  open(deckText(kThreeCards));
  child<QComboBox>("PreviewProfile")->setCurrentIndex(profile);
  QCOMPARE(window->screen()->sizeHint(), size);
  QTRY_COMPARE(window->screen()->size(), size); // the dock lays itself out again
  const QImage drawn = window->screen()->grab().toImage();
  QCOMPARE(drawn.size() / drawn.devicePixelRatio(), size);
  // The display is drawn: ink on the pale screen, in its top and bottom bands.
  const auto inkIn = [&drawn](int top, int bottom) {
    int ink = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < drawn.width(); ++x)
        ink += qGray(drawn.pixel(x, y)) < 100;
    return ink;
  };
  QVERIFY(inkIn(0, drawn.height() / 8) > 0);
  QVERIFY(inkIn(drawn.height() * 3 / 4, drawn.height()) > 0);
}

void PreviewWindowTest::menuItemOpensAndCloses() {
  delete window;
  window = nullptr;
  QMenu deckMenu;
  DeckPreview preview(*main, *editor, *service, deckMenu);
  QAction* action = preview.previewAction();
  QCOMPARE(action->objectName(), QStringLiteral("PreviewDeck1"));
  QCOMPARE(action->text(), QStringLiteral("&Preview"));
  QCOMPARE(action->shortcut(), QKeySequence(Qt::Key_F12));
  QVERIFY(action->isCheckable());
  QVERIFY(deckMenu.actions().at(0)->isSeparator());
  QVERIFY(!preview.window());
  action->trigger();
  QVERIFY(preview.window() && preview.window()->isVisible());
  preview.window()->close();
  QVERIFY(!action->isChecked());
  action->trigger();
  QVERIFY(preview.window()->isVisible());
  action->trigger();
  QVERIFY(!preview.window()->isVisible());
}

// Pictures beside the saved document are drawn (PNG and WBMP here); a
// missing one leaves its alt text.
void PreviewWindowTest::imagesBesideTheDocument() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  QImage black(30, 30, QImage::Format_Mono);
  black.fill(1);
  black.setColor(1, qRgb(0, 0, 0));
  black.setColor(0, qRgb(255, 255, 255));
  QVERIFY(black.save(folder.filePath("black.png"), "PNG"));
  QVERIFY(black.save(folder.filePath("black.wbmp"), "WBMP"));
  editor->textDocument().setFilePath(folder.filePath("deck.wml"));
  open(deckText("<card id=\"a\"><p><img src=\"black.png\" alt=\"A\"/></p></card>\n"
                "<card id=\"b\"><p><img src=\"black.wbmp\" alt=\"B\"/></p></card>\n"
                "<card id=\"c\"><p><img src=\"gone.png\" alt=\"C\"/></p></card>\n"));
  const auto inkShown = [this] {
    const QImage drawn = window->screen()->grab().toImage();
    int ink = 0;
    for (int y = 0; y < drawn.height(); ++y)
      for (int x = 0; x < drawn.width(); ++x)
        ink += qGray(drawn.pixel(x, y)) < 60;
    return ink;
  };
  const int picture = 30 * 30 * 4; // drawn at twice the size
  QCOMPARE(shown(), QStringLiteral("\n[img: A]\n | "));
  QVERIFY(inkShown() >= picture);
  window->screen()->showCard("b");
  QVERIFY(inkShown() >= picture);
  window->screen()->showCard("c");
  QCOMPARE(shown(), QStringLiteral("\n[img: C]\n | "));
  QVERIFY(inkShown() < picture / 2);
}

// The window's clock: a timer of a tenth of a second runs its ontimer
// without anyone calling fireTimer.
void PreviewWindowTest::timerRunsOnTheClock() {
  open(deckText("<card id=\"a\" ontimer=\"#b\"><timer value=\"1\"/><p>A</p></card>\n"
                "<card id=\"b\"><p>B</p></card>\n"));
  QTRY_COMPARE_WITH_TIMEOUT(shown(), QStringLiteral("\nB\n | "), 3000);
}

// A link to a deck file beside the saved document loads it, a compiled one
// too; a missing file is said so.
void PreviewWindowTest::decksBesideTheDocument() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const QString other = deckText("<card id=\"one\"><p>One</p></card>\n"
                                 "<card id=\"two\" title=\"Two\"><p>Second deck</p></card>\n");
  QFile plain(folder.filePath("other.wml"));
  QVERIFY(plain.open(QIODevice::WriteOnly));
  plain.write(other.toUtf8());
  plain.close();
  const wml::wbxml::CompiledDeck compiled = wml::wbxml::compileDeckText(other);
  QVERIFY(!compiled.bytes.isEmpty());
  QFile binary(folder.filePath("other.wmlc"));
  QVERIFY(binary.open(QIODevice::WriteOnly));
  binary.write(compiled.bytes);
  binary.close();
  editor->textDocument().setFilePath(folder.filePath("deck.wml"));
  open(deckText("<card id=\"a\"><p><a href=\"other.wml#two\">p</a> <a href=\"other.wmlc#two\">"
                "c</a> <a href=\"gone.wml\">g</a></p></card>\n"));
  invoke("followLink", Q_ARG(int, 0));
  QCOMPARE(shown(), QStringLiteral("Two\nSecond deck\n | "));
  invoke("back");
  invoke("followLink", Q_ARG(int, 1));
  QCOMPARE(shown(), QStringLiteral("Two\nSecond deck\n | "));
  QCOMPARE(child<QListWidget>("PreviewHistory")->item(1)->text(), QStringLiteral("other.wmlc#two"));
  invoke("back");
  invoke("followLink", Q_ARG(int, 2));
  QCOMPARE(shown(), QStringLiteral("Cannot open gone.wml\n | Back"));
}

// In the program: the Deck menu's last item but serving, after a separator; F12 opens
// the preview on the document being edited and closes it again.
void PreviewWindowTest::lastItemOfTheDeckMenu() {
  TestServices t;
  MainWindow w(t.services());
  w.show();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  auto* menu = w.findChild<DeckMenu*>("DeckMenu");
  QVERIFY(menu);
  const QList<QAction*> items = menu->actions();
  QVERIFY(items.size() >= 4);
  // Its group comes last but for serving, which follows behind a separator.
  const auto at = std::find_if(items.begin(), items.end(), [](QAction* item) {
    return item->objectName() == QStringLiteral("PreviewDeck1");
  });
  QVERIFY(at != items.begin() && at != items.end());
  QVERIFY((*(at - 1))->isSeparator());
  QVERIFY((*(at + 1))->isSeparator());
  QCOMPARE((*(at + 2))->objectName(), QStringLiteral("ServeSite1"));
  QAction* preview = *at;
  QCOMPARE(preview->text(), QStringLiteral("&Preview"));
  QVERIFY(preview->isCheckable());
  QVERIFY(!preview->isChecked());
  QCOMPARE(preview->shortcut(), QKeySequence(Qt::Key_F12));
  QTest::keyClick(w.focusWidget() ? w.focusWidget() : &w, Qt::Key_F12);
  PreviewWindow* shownWindow = w.deckPreview()->window();
  QVERIFY(shownWindow && shownWindow->isVisible());
  QVERIFY(preview->isChecked());
  QSignalSpy refreshed(shownWindow, &PreviewWindow::refreshed);
  QVERIFY(refreshed.count() > 0 || refreshed.wait(5000));
  // The default document's first card.
  QVERIFY(!shownWindow->screen()->renderedText().startsWith(QStringLiteral("Not well-formed")));
  preview->trigger();
  QVERIFY(!shownWindow->isVisible());
}

// The preview never covers the editor: a dock on the main window's right,
// floated as a window and docked back, its size kept when closed and opened
// again; closed, the editor takes the width back.
void PreviewWindowTest::dockBesideTheEditor() {
  TestServices t;
  MainWindow w(t.services());
  w.resize(1200, 800);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  const int editorAlone = w.editor()->width();
  QAction* item = w.deckPreview()->previewAction();
  item->trigger();
  PreviewWindow* dock = w.deckPreview()->window();
  QVERIFY(dock && dock->isVisible());
  QCOMPARE(dock->objectName(), QStringLiteral("PreviewWindow"));
  QCOMPARE(w.dockWidgetArea(dock), Qt::RightDockWidgetArea);
  QVERIFY(!dock->isFloating());
  QVERIFY(dock->features().testFlag(QDockWidget::DockWidgetFloatable));
  const QRect editorArea(w.editor()->mapTo(&w, QPoint(0, 0)), w.editor()->size());
  QVERIFY(!editorArea.intersects(dock->geometry()));
  QVERIFY(dock->geometry().left() >= editorArea.right());

  const int before = dock->width();
  w.resizeDocks({dock}, {before + 120}, Qt::Horizontal);
  QTRY_VERIFY(dock->width() > before);
  const int widened = dock->width();
  item->trigger();
  QVERIFY(!dock->isVisible());
  QTRY_COMPARE(w.editor()->width(), editorAlone);
  item->trigger();
  QVERIFY(dock->isVisible());
  QTRY_COMPARE(dock->width(), widened);

  dock->setFloating(true);
  QVERIFY(dock->isWindow());
  dock->setFloating(false);
  QVERIFY(!dock->isWindow());
  QCOMPARE(w.dockWidgetArea(dock), Qt::RightDockWidgetArea);
}

QTEST_MAIN(PreviewWindowTest)
#include "tst_previewwindow.moc"
