#include "TestServices.h"
#include "app/MainWindow.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "tools/ToolsPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tessera;

// The field rules on the real panel of a shown main window: Enter flow,
// switches, digit filters, maximum lengths, double-click.
class FieldRulesTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void enterChains_data();
  void enterChains();
  void secondEnterPressesOk();
  void switches_data();
  void switches();
  void digitFiltersAndLengths_data();
  void digitFiltersAndLengths();
  void doubleClickSelectsAll_data();
  void doubleClickSelectsAll();

private:
  template <typename T = QWidget> T* find(const QString& name) {
    T* w = window_->findChild<T*>(name);
    if (!w)
      qFatal("no control %s", qPrintable(name));
    return w;
  }
  void clickLabel(const QString& name) {
    QLabel* label = find<QLabel>(name);
    QVERIFY2(label->isVisible(), qPrintable(name));
    QTest::mouseClick(label, Qt::LeftButton);
  }
  void pressEnter() {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, Qt::Key_Return);
  }

  TestServices* services_ = nullptr;
  MainWindow* window_ = nullptr;
};

void FieldRulesTest::init() {
  services_ = new TestServices;
  window_ = new MainWindow(services_->services());
  window_->show();
  QVERIFY(QTest::qWaitForWindowActive(window_));
  // Every page built, as after the user has been to every tab.
  for (int t = 0; t < ToolsPanel::TabCount; ++t)
    window_->toolsPanel()->page(ToolsPanel::Tab(t));
  window_->editor()->textDocument().replaceWholeText(QString());
  QTest::qWait(10); // let the first activation settle
}

void FieldRulesTest::cleanup() {
  window_->editor()->textDocument().setModified(false);
  delete window_;
  delete services_;
}

void FieldRulesTest::enterChains_data() {
  QTest::addColumn<int>("tab");
  QTest::addColumn<QStringList>("clicks"); // labels or check boxes clicked first
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("focusAfter");
  QTest::addColumn<QString>("inserted");
  const QStringList none;
  QTest::newRow("link url advances") << int(ToolsPanel::Link) << none << "Edit1"
                                     << "Edit10"
                                     << "";
  QTest::newRow("link text skips the disabled key") << int(ToolsPanel::Link) << none << "Edit10"
                                                    << "Button3"
                                                    << "";
  QTest::newRow("link text to the enabled key")
      << int(ToolsPanel::Link) << QStringList{"Label29"} << "Edit10"
      << "ComboBox3"
      << "";
  QTest::newRow("access key confirms")
      << int(ToolsPanel::Link) << QStringList{"Label29"} << "ComboBox3"
      << "Memo1"
      << "<a accesskey=\"\" href=\"http://\">Link</a>";
  QTest::newRow("image name confirms") << int(ToolsPanel::Image) << none << "Edit9"
                                       << "Memo1"
                                       << "<img src=\"http://\" alt=\"picture\"/>";
  QTest::newRow("image link url confirms") << int(ToolsPanel::ImageLink) << none << "Edit4"
                                           << "Memo1"
                                           << "<a href=\"http://\"><img src=\"http://\"/></a>";
  QTest::newRow("card title to the settings box") << int(ToolsPanel::Card) << none << "Edit6"
                                                  << "CheckBox1"
                                                  << "";
  QTest::newRow("waiting time advances")
      << int(ToolsPanel::Card) << QStringList{"CheckBox1", "CheckBox3"} << "Edit13"
      << "Edit14"
      << "";
  QTest::newRow("timer url confirms")
      << int(ToolsPanel::Card) << QStringList{"CheckBox1", "CheckBox3"} << "Edit14"
      << "Memo1"
      << "<card id=\"second\" title=\"Card Title\">\r\n<onevent type=\"ontimer\">\r\n"
         "<go href=\"http://\"/>\r\n</onevent>\r\n<timer value=\"10\"/>\r\n\r\n\r\n\r\n</card>";
  QTest::newRow("button type confirms")
      << int(ToolsPanel::Button) << none << "ComboBox2"
      << "Memo1"
      << "<do type=\"accept\" label=\"Go\">\r\n<go href=\"http://\"/>\r\n</do>";
  QTest::newRow("phone number confirms") << int(ToolsPanel::PhoneCall) << none << "Edit12"
                                         << "Memo1"
                                         << "<a href=\"wtai://wp/mc;+3611234567\">Call</a>";
  QTest::newRow("name list number to the name") << int(ToolsPanel::NameList) << none << "Edit20"
                                                << "Edit21"
                                                << "";
  QTest::newRow("name switched off: number to OK")
      << int(ToolsPanel::NameList) << QStringList{"Label23"} << "Edit20"
      << "Button24"
      << "";
  QTest::newRow("name confirms")
      << int(ToolsPanel::NameList) << none << "Edit21"
      << "Memo1"
      << "<a href=\"wtai://wp/ap;+3611234567;Adam\">Add to name list</a>";
  QTest::newRow("field name skips both disabled numbers")
      << int(ToolsPanel::InputField) << none << "Edit15"
      << "ComboBox1"
      << "";
  QTest::newRow("field name to the enabled size")
      << int(ToolsPanel::InputField) << QStringList{"Label26"} << "Edit15"
      << "Edit16"
      << "";
  QTest::newRow("size skips the disabled max length")
      << int(ToolsPanel::InputField) << QStringList{"Label26"} << "Edit16"
      << "ComboBox1"
      << "";
  QTest::newRow("type list confirms") << int(ToolsPanel::InputField) << none << "ComboBox1"
                                      << "Memo1"
                                      << "<input name=\"first\" type=\"text\"/>";
  QTest::newRow("comment confirms") << int(ToolsPanel::Comment) << none << "Edit17"
                                    << "Memo1"
                                    << "<!--  -->";
}

void FieldRulesTest::enterChains() {
  QFETCH(int, tab);
  QFETCH(QStringList, clicks);
  QFETCH(QString, field);
  QFETCH(QString, focusAfter);
  QFETCH(QString, inserted);
  window_->toolsPanel()->setCurrentIndex(tab);
  for (const QString& name : clicks) {
    if (name.startsWith("Label"))
      clickLabel(name);
    else
      find<QAbstractButton>(name)->click();
  }
  QWidget* start = find(field);
  start->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), start);
  pressEnter();
  QWidget* focus = QApplication::focusWidget();
  QVERIFY(focus);
  // An editable combo box may hand the focus to its line edit.
  if (focus->objectName().isEmpty() && focus->parentWidget())
    focus = focus->parentWidget();
  QCOMPARE(focus->objectName(), focusAfter);
  QCOMPARE(window_->editor()->textDocument().wholeText(), inserted);
}

void FieldRulesTest::secondEnterPressesOk() {
  window_->toolsPanel()->setCurrentIndex(ToolsPanel::Link);
  find<QLineEdit>("Edit10")->setFocus();
  pressEnter();
  QCOMPARE(QApplication::focusWidget(), find("Button3"));
  QVERIFY(window_->editor()->textDocument().wholeText().isEmpty());
  pressEnter();
  QCOMPARE(window_->editor()->textDocument().wholeText(), QString("<a href=\"http://\">Link</a>"));
  QCOMPARE(QApplication::focusWidget(), window_->editor());
  // Shift held with Enter changes nothing about the rule.
  window_->toolsPanel()->setCurrentIndex(ToolsPanel::Image);
  find<QLineEdit>("Edit2")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
  QCOMPARE(QApplication::focusWidget(), find("Edit9"));
}

void FieldRulesTest::switches_data() {
  QTest::addColumn<int>("tab");
  QTest::addColumn<QString>("green");
  QTest::addColumn<QString>("red");
  QTest::addColumn<QString>("field");
  QTest::addColumn<bool>("onAtStart");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("hint");
  QTest::newRow("access key") << int(ToolsPanel::Link) << "Label28"
                              << "Label29"
                              << "ComboBox3" << false << "Access key:"
                              << "Enable/Disable (User defined/None)";
  QTest::newRow("name") << int(ToolsPanel::NameList) << "Label23"
                        << "Label25"
                        << "Edit21" << true << "Name:"
                        << "Enable/Disable (User defined/None)";
  QTest::newRow("field size") << int(ToolsPanel::InputField) << "Label17"
                              << "Label26"
                              << "Edit16" << false << "Field size:"
                              << "Enable/Disable (User defined/Automatic)";
  QTest::newRow("max length") << int(ToolsPanel::InputField) << "Label20"
                              << "Label27"
                              << "Edit18" << false << "Max. lenght:"
                              << "Enable/Disable (User defined/Automatic)";
}

void FieldRulesTest::switches() {
  QFETCH(int, tab);
  QFETCH(QString, green);
  QFETCH(QString, red);
  QFETCH(QString, field);
  QFETCH(bool, onAtStart);
  QFETCH(QString, caption);
  QFETCH(QString, hint);
  window_->toolsPanel()->setCurrentIndex(tab);
  QLabel* greenLabel = find<QLabel>(green);
  QLabel* redLabel = find<QLabel>(red);
  QWidget* edit = find(field);
  for (QLabel* label : {greenLabel, redLabel}) {
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->toolTip(), hint);
    QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
  }
  QCOMPARE(greenLabel->palette().color(QPalette::WindowText), QColor(0, 0x80, 0));
  QCOMPARE(redLabel->palette().color(QPalette::WindowText), QColor(0xff, 0, 0));
  // The two labels stand at the same place, one shown at a time.
  bool on = onAtStart;
  for (int click = 0; click < 3; ++click) {
    QCOMPARE(edit->isEnabled(), on);
    QCOMPARE(greenLabel->isVisible(), on);
    QCOMPARE(redLabel->isVisible(), !on);
    QCOMPARE(greenLabel->parentWidget(), redLabel->parentWidget());
    QCOMPARE(greenLabel->pos(), redLabel->pos());
    clickLabel(on ? green : red);
    on = !on;
  }
  // The field keeps its text while switched off.
  if (auto* line = qobject_cast<QLineEdit*>(edit))
    QVERIFY(!line->text().isEmpty());
}

void FieldRulesTest::digitFiltersAndLengths_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("enable"); // the label or box that enables the field
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("result");
  QTest::newRow("size: letters dropped") << "Edit16"
                                         << "Label26"
                                         << "a1b2"
                                         << "12";
  QTest::newRow("size: two digits at most") << "Edit16"
                                            << "Label26"
                                            << "123"
                                            << "12";
  QTest::newRow("max length: five digits") << "Edit18"
                                           << "Label27"
                                           << "1234567"
                                           << "12345";
  QTest::newRow("max length: blanks and signs") << "Edit18"
                                                << "Label27"
                                                << " -+9."
                                                << "9";
  QTest::newRow("waiting time: three digits") << "Edit13"
                                              << "CheckBox3"
                                              << "12x34"
                                              << "123";
  QTest::newRow("link url takes anything") << "Edit1"
                                           << ""
                                           << "a b-1"
                                           << "a b-1";
}

void FieldRulesTest::digitFiltersAndLengths() {
  QFETCH(QString, field);
  QFETCH(QString, enable);
  QFETCH(QString, typed);
  QFETCH(QString, result);
  auto* edit = find<QLineEdit>(field);
  window_->toolsPanel()->setCurrentWidget(
      edit->window() == window_ && field == "Edit1" ? window_->toolsPanel()->page(ToolsPanel::Link)
      : field == "Edit13"                           ? window_->toolsPanel()->page(ToolsPanel::Card)
                          : window_->toolsPanel()->page(ToolsPanel::InputField));
  if (enable.startsWith("Label"))
    clickLabel(enable);
  else if (!enable.isEmpty()) {
    find<QAbstractButton>("CheckBox1")->click();
    find<QAbstractButton>(enable)->click();
  }
  QVERIFY(edit->isEnabled());
  edit->setFocus();
  edit->clear();
  QTest::keyClicks(edit, typed);
  QCOMPARE(edit->text(), result);
  // Backspace still deletes.
  QTest::keyClick(edit, Qt::Key_Backspace);
  QCOMPARE(edit->text(), result.chopped(1));
}

void FieldRulesTest::doubleClickSelectsAll_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<int>("tab");
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("selectsAll");
  QTest::newRow("link url") << "Edit1" << int(ToolsPanel::Link) << "http://x.y/z" << true;
  QTest::newRow("phone number") << "Edit12" << int(ToolsPanel::PhoneCall) << "+36 1 123" << true;
  QTest::newRow("timer url has no rule")
      << "Edit14" << int(ToolsPanel::Card) << "http://x.y/z" << false;
}

void FieldRulesTest::doubleClickSelectsAll() {
  QFETCH(QString, field);
  QFETCH(int, tab);
  QFETCH(QString, text);
  QFETCH(bool, selectsAll);
  window_->toolsPanel()->setCurrentIndex(tab);
  if (field == "Edit14") {
    find<QAbstractButton>("CheckBox1")->click();
    find<QAbstractButton>("CheckBox3")->click();
  }
  auto* edit = find<QLineEdit>(field);
  edit->setText(text);
  const QPoint nearStart(edit->fontMetrics().horizontalAdvance(text.left(2)) + 4,
                         edit->height() / 2);
  QTest::mouseDClick(edit, Qt::LeftButton, {}, nearStart);
  QCOMPARE(edit->selectedText() == text, selectsAll);
  if (selectsAll) {
    QTest::keyClick(edit, Qt::Key_Q);
    QCOMPARE(edit->text(), QString("q"));
  }
}

QTEST_MAIN(FieldRulesTest)
#include "tst_fieldrules.moc"
