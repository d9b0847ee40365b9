#include "dialogs/ImageEditor.h"
#include "dialogs/LinkEditor.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "platform/ScriptedPrompts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace tessera;

// Stands in for the main window: keeps the hint its status line would show.
class HintPanel : public QWidget {
public:
  QString shown;

protected:
  bool event(QEvent* event) override {
    if (event->type() != QEvent::StatusTip)
      return QWidget::event(event);
    shown = static_cast<QStatusTipEvent*>(event)->tip();
    return true;
  }
};

// The Link Editor and the image editor, driven through their buttons
// without a running modal loop except where the closing itself is tested.
class ElementDialogsTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();

  void linkStartState();
  void linkOk_data();
  void linkOk();
  void linkAccessKeySwitch();
  void linkHistory();
  void linkResetOnEveryClose_data();
  void linkResetOnEveryClose();
  void linkModalRun();

  void imageStartState();
  void imageMirroring();
  void imageInsert();
  void imageLinkInsertAndHistory();
  void imageBrowse();
  void imageCloseBoxKeepsCancelResets();
  void imageFieldsLineUp();

  void hintLeavesWithTheWindow_data();
  void hintLeavesWithTheWindow();

private:
  QLabel* label(QWidget* w, const char* name) {
    return w->findChild<QLabel*>(QString::fromLatin1(name));
  }
  QPushButton* button(QWidget* w, const char* name) {
    return w->findChild<QPushButton*>(QString::fromLatin1(name));
  }
  // The access key is on exactly when its box is enabled, shown by the
  // green label; off shows the red one.
  void checkKeySwitch(bool on) {
    QCOMPARE(link->accessKeyBox()->isEnabled(), on);
    QCOMPARE(label(link, "Label2")->isVisibleTo(link), on);
    QCOMPARE(label(link, "Label3")->isVisibleTo(link), !on);
  }

  HintPanel* mainWindow = nullptr;
  SourceEditor* editor = nullptr;
  ScriptedPrompts* prompts = nullptr;
  LinkEditor* link = nullptr;
  ImageEditor* image = nullptr;
};

void ElementDialogsTest::init() {
  mainWindow = new HintPanel;
  editor = new SourceEditor(mainWindow);
  prompts = new ScriptedPrompts;
  link = new LinkEditor(*editor, mainWindow);
  image = new ImageEditor(*editor, *prompts, mainWindow);
  editor->textDocument().replaceWholeText(QStringLiteral("one word\r\ntwo"));
}

void ElementDialogsTest::cleanup() {
  delete mainWindow;
  delete prompts;
}

void ElementDialogsTest::linkStartState() {
  QCOMPARE(link->objectName(), QStringLiteral("TForm11"));
  QCOMPARE(link->windowTitle(), QStringLiteral("Link Editor"));
  QCOMPARE(link->urlBox()->currentText(), QStringLiteral("http://"));
  QCOMPARE(link->urlBox()->count(), 0);
  QCOMPARE(link->accessKeyBox()->currentText(), QString());
  QStringList keys;
  for (int i = 0; i < link->accessKeyBox()->count(); ++i)
    keys << link->accessKeyBox()->itemText(i);
  QCOMPARE(keys.join(QLatin1Char(' ')), QStringLiteral("1 2 3 4 5 6 7 8 9 0 * #"));
  checkKeySwitch(false);
  QCOMPARE(label(link, "Label3")->statusTip(),
           QStringLiteral("Enable/Disable (User defined/None)"));
  QVERIFY(label(link, "Label3")->toolTip().isEmpty()); // hints go to the status line only
  QVERIFY(!button(link, "BitBtn1")->isDefault());
  QVERIFY(!button(link, "BitBtn1")->autoDefault());
}

void ElementDialogsTest::linkOk_data() {
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("length");
  QTest::addColumn<bool>("keyOn");
  QTest::addColumn<QString>("key");
  QTest::addColumn<QString>("result");
  QTest::addColumn<int>("caret");
  QTest::newRow("word, no key") << 4 << 4 << false << "5"
                                << "one <a href=\"x.wml\">word</a>\r\ntwo" << 28;
  QTest::newRow("word, key 5 before href")
      << 4 << 4 << true << "5"
      << "one <a accesskey=\"5\" href=\"x.wml\">word</a>\r\ntwo" << 42;
  QTest::newRow("lines go in unchanged") << 4 << 7 << false << ""
                                         << "one <a href=\"x.wml\">word\r\nt</a>wo" << 31;
  QTest::newRow("nothing selected, empty key")
      << 0 << 0 << true << ""
      << "<a accesskey=\"\" href=\"x.wml\"></a>one word\r\ntwo" << 33;
}

void ElementDialogsTest::linkOk() {
  QFETCH(int, start);
  QFETCH(int, length);
  QFETCH(bool, keyOn);
  QFETCH(QString, key);
  QFETCH(QString, result);
  QFETCH(int, caret);
  editor->setSelection(tessera::TextPosition(start), length);
  link->urlBox()->setEditText(QStringLiteral("x.wml"));
  if (keyOn)
    QTest::mouseClick(label(link, "Label3"), Qt::LeftButton);
  link->accessKeyBox()->setEditText(key);
  QTest::mouseClick(button(link, "BitBtn1"), Qt::LeftButton);
  QCOMPARE(editor->textDocument().wholeText(), result);
  QCOMPARE(editor->caretPosition().value, caret);
  QCOMPARE(editor->selectionLength(), 0);
}

void ElementDialogsTest::linkAccessKeySwitch() {
  link->show(); // the labels' visibility is only real on a shown window
  QTest::mouseClick(label(link, "Label3"), Qt::LeftButton);
  checkKeySwitch(true);
  link->accessKeyBox()->setEditText(QStringLiteral("#"));
  QTest::mouseClick(label(link, "Label2"), Qt::LeftButton);
  checkKeySwitch(false);
  QCOMPARE(link->accessKeyBox()->currentText(), QStringLiteral("#")); // the key stays
  // Switched off again: OK writes no accesskey.
  editor->setSelection(tessera::TextPosition(4), 4);
  link->ok();
  QCOMPARE(editor->textDocument().wholeText(),
           QStringLiteral("one <a href=\"http://\">word</a>\r\ntwo"));
}

void ElementDialogsTest::linkHistory() {
  const QStringList used = {QStringLiteral("http://Example.com/"), QStringLiteral("b.wml"),
                            QStringLiteral("HTTP://EXAMPLE.COM/"),
                            QStringLiteral("http://example.com/"), QStringLiteral("b.wml")};
  for (const QString& url : used) {
    link->urlBox()->setEditText(url);
    link->ok();
    QCOMPARE(link->urlBox()->currentText(), QStringLiteral("http://"));
  }
  // Case-insensitive, first spelling kept, order of first use.
  QCOMPARE(link->urlHistory(),
           (QStringList{QStringLiteral("http://Example.com/"), QStringLiteral("b.wml")}));
  // Cancel adds nothing.
  link->urlBox()->setEditText(QStringLiteral("c.wml"));
  link->cancel();
  QCOMPARE(link->urlHistory().size(), 2);
}

void ElementDialogsTest::linkResetOnEveryClose_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("OK") << "ok";
  QTest::newRow("Cancel") << "cancel";
  QTest::newRow("close box") << "close";
}

void ElementDialogsTest::linkResetOnEveryClose() {
  QFETCH(QString, how);
  link->show();
  link->urlBox()->setEditText(QStringLiteral("typed.wml"));
  link->toggleAccessKey();
  link->accessKeyBox()->setEditText(QStringLiteral("7"));
  const QString before = editor->textDocument().wholeText();
  if (how == QLatin1String("ok"))
    QTest::mouseClick(button(link, "BitBtn1"), Qt::LeftButton);
  else if (how == QLatin1String("cancel"))
    QTest::mouseClick(button(link, "BitBtn2"), Qt::LeftButton);
  else
    QVERIFY(link->close());
  QVERIFY(!link->isVisible());
  QCOMPARE(editor->textDocument().wholeText() != before, how == QLatin1String("ok"));
  link->show();
  QCOMPARE(link->urlBox()->currentText(), QStringLiteral("http://"));
  QCOMPARE(link->accessKeyBox()->currentText(), QString());
  checkKeySwitch(false);
}

void ElementDialogsTest::linkModalRun() {
  editor->setSelection(tessera::TextPosition(0), 3);
  QTimer::singleShot(0, link, [this] {
    link->urlBox()->setEditText(QStringLiteral("m.wml"));
    link->ok();
  });
  link->exec();
  QCOMPARE(editor->textDocument().wholeText(),
           QStringLiteral("<a href=\"m.wml\">one</a> word\r\ntwo"));
}

void ElementDialogsTest::imageStartState() {
  QCOMPARE(image->objectName(), QStringLiteral("TForm12"));
  QCOMPARE(image->windowTitle(), QStringLiteral("Image Object and Image Link Editor"));
  QCOMPARE(image->pages()->currentIndex(), int(ImageEditor::ImageLinkPage));
  QCOMPARE(image->pages()->tabText(0), QStringLiteral("Image"));
  QCOMPARE(image->pages()->tabText(1), QStringLiteral("Image Link"));
  for (QLineEdit* name : {image->imageName(), image->linkImageName()})
    QCOMPARE(name->text(), QStringLiteral("picture"));
  for (QLineEdit* url : {image->imageUrl(), image->linkImageUrl()})
    QCOMPARE(url->text(), QStringLiteral("http://"));
  QCOMPARE(image->linkUrlBox()->currentText(), QStringLiteral("http://"));
  QCOMPARE(button(image, "BitBtn7")->statusTip(), QStringLiteral("Insertion of the image"));
  QCOMPARE(button(image, "BitBtn5")->statusTip(), QStringLiteral("Insertion of the image link"));
}

void ElementDialogsTest::imageMirroring() {
  QTest::keyClicks(image->imageName(), QStringLiteral("X"));
  QCOMPARE(image->linkImageName()->text(), QStringLiteral("pictureX"));
  image->linkImageName()->clear();
  QCOMPARE(image->imageName()->text(), QString());
  image->imageUrl()->setText(QStringLiteral("a.png"));
  QCOMPARE(image->linkImageUrl()->text(), QStringLiteral("a.png"));
  QTest::keyClicks(image->linkImageUrl(), QStringLiteral("b"));
  QCOMPARE(image->imageUrl()->text(), QStringLiteral("a.pngb"));
}

void ElementDialogsTest::imageInsert() {
  editor->setSelection(tessera::TextPosition(4), 4);
  QTest::mouseClick(button(image, "BitBtn7"), Qt::LeftButton);
  QCOMPARE(editor->textDocument().wholeText(),
           QStringLiteral("one <img src=\"http://\" alt=\"picture\"/>\r\ntwo"));
  QCOMPARE(editor->caretPosition().value, 4 + 34);
}

void ElementDialogsTest::imageLinkInsertAndHistory() {
  editor->setSelection(tessera::TextPosition(4), 4);
  image->linkUrlBox()->setEditText(QStringLiteral("Next.wml"));
  image->linkImageName()->setText(QStringLiteral("go"));
  QTest::mouseClick(button(image, "BitBtn5"), Qt::LeftButton);
  // The selection is replaced, not wrapped.
  QCOMPARE(editor->textDocument().wholeText(),
           QStringLiteral("one <a href=\"Next.wml\"><img src=\"http://\" alt=\"go\"/></a>\r\ntwo"));
  QCOMPARE(editor->caretPosition().value, 4 + 52);
  QCOMPARE(image->linkUrlBox()->currentText(), QStringLiteral("http://"));
  QCOMPARE(image->linkImageName()->text(), QStringLiteral("picture"));
  QCOMPARE(image->imageName()->text(), QStringLiteral("picture"));
  QCOMPARE(image->linkUrlHistory(), QStringList{QStringLiteral("Next.wml")});
  image->linkUrlBox()->setEditText(QStringLiteral("NEXT.WML"));
  image->insertImageLink();
  QCOMPARE(image->linkUrlHistory(), QStringList{QStringLiteral("Next.wml")});
}

void ElementDialogsTest::imageBrowse() {
  const QString path = QStringLiteral("/home/user/My Pictures/logo.wbmp");
  prompts->answerFile(path);
  QTest::mouseClick(button(image, "BitBtn4"), Qt::LeftButton);
  QCOMPARE(prompts->asked.size(), 1);
  QCOMPARE(prompts->asked.first().file.filters, ImageEditor::imageFilters());
  QCOMPARE(prompts->asked.first().file.filters.first(),
           QStringLiteral("All Images (*.wbmp *.bmp *.jpg *.jpeg *.gif *.png)"));
  QCOMPARE(image->linkImageUrl()->text(), path);
  QCOMPARE(image->imageUrl()->text(), path);
  // Cancelled: nothing changes.
  prompts->answerFile(QString());
  QTest::mouseClick(button(image, "BitBtn1"), Qt::LeftButton);
  QCOMPARE(image->imageUrl()->text(), path);
  image->insertImage();
  QVERIFY(editor->textDocument().wholeText().startsWith(QStringLiteral("<img src=\"") + path +
                                                        QStringLiteral("\" alt=\"picture\"/>")));
  QVERIFY(!prompts->anyUnexpected());
}

void ElementDialogsTest::imageCloseBoxKeepsCancelResets() {
  image->show();
  image->pages()->setCurrentIndex(ImageEditor::ImagePage);
  image->imageName()->setText(QStringLiteral("kept"));
  image->linkUrlBox()->setEditText(QStringLiteral("kept.wml"));
  QVERIFY(image->close());
  image->show();
  QCOMPARE(image->imageName()->text(), QStringLiteral("kept"));
  QCOMPARE(image->linkUrlBox()->currentText(), QStringLiteral("kept.wml"));
  QCOMPARE(image->pages()->currentIndex(), int(ImageEditor::ImagePage)); // last shown tab
  const QString before = editor->textDocument().wholeText();
  QTest::mouseClick(button(image, "BitBtn6"), Qt::LeftButton);
  QVERIFY(!image->isVisible());
  QCOMPARE(editor->textDocument().wholeText(), before);
  QCOMPARE(image->imageName()->text(), QStringLiteral("picture"));
  QCOMPARE(image->imageUrl()->text(), QStringLiteral("http://"));
  QCOMPARE(image->linkUrlBox()->currentText(), QStringLiteral("http://"));
}

// The fields of both groups, on both tabs, start at one place; the link
// URL box ends where the Browse button does.
void ElementDialogsTest::imageFieldsLineUp() {
  image->show();
  QVERIFY(QTest::qWaitForWindowExposed(image));
  const auto left = [](QWidget* w) { return w->mapTo(w->window(), QPoint(0, 0)).x(); };
  const auto right = [&left](QWidget* w) { return left(w) + w->width(); };
  QCOMPARE(left(image->linkUrlBox()), left(image->linkImageUrl()));
  QCOMPARE(left(image->linkImageName()), left(image->linkImageUrl()));
  QCOMPARE(right(image->linkUrlBox()), right(button(image, "BitBtn1")));
  const int linkTabLeft = left(image->linkImageUrl());
  image->pages()->setCurrentIndex(ImageEditor::ImagePage);
  QTRY_VERIFY(image->imageUrl()->isVisible());
  QCOMPARE(left(image->imageUrl()), linkTabLeft);
  QCOMPARE(left(image->imageName()), linkTabLeft);
}

void ElementDialogsTest::hintLeavesWithTheWindow_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("how");
  QTest::newRow("link, key label, OK") << "link"
                                       << "Label3"
                                       << "ok";
  QTest::newRow("link, URL box, close box") << "link"
                                            << "ComboBox1"
                                            << "close";
  QTest::newRow("image, Browse, Cancel") << "image"
                                         << "BitBtn4"
                                         << "cancel";
  QTest::newRow("image, Insert, insert") << "image"
                                         << "BitBtn5"
                                         << "ok";
  QTest::newRow("image, name field, close box") << "image"
                                                << "Edit1"
                                                << "close";
}

// While the pointer rests on a control its hint shows in the main window's
// status line; when the window goes, the hint goes with it.
void ElementDialogsTest::hintLeavesWithTheWindow() {
  QFETCH(QString, window);
  QFETCH(QString, control);
  QFETCH(QString, how);
  const bool isLink = window == QLatin1String("link");
  QDialog* dialog = isLink ? static_cast<QDialog*>(link) : image;
  dialog->show();
  auto* target = dialog->findChild<QWidget*>(control);
  QVERIFY(target);
  QVERIFY(!target->statusTip().isEmpty());
  QStatusTipEvent enter(target->statusTip());
  QCoreApplication::sendEvent(target, &enter);
  QCOMPARE(mainWindow->shown, target->statusTip());

  if (how == QLatin1String("ok"))
    isLink ? link->ok() : image->insertImageLink();
  else if (how == QLatin1String("cancel"))
    image->cancel();
  else
    QVERIFY(dialog->close());
  QVERIFY(!dialog->isVisible());
  QCOMPARE(mainWindow->shown, QString());
}

QTEST_MAIN(ElementDialogsTest)
#include "tst_elementdialogs.moc"
