#include "TestServices.h"
#include "app/MainWindow.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "tools/ToolsPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

using namespace tessera;

// The tools of the real panel: what each OK and one-click button inserts,
// where the focus goes, the card settings panel, the type list and the
// new-document reset.
class ToolsPanelTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void controls_data();
  void controls();
  void buttonsInsert_data();
  void buttonsInsert();
  void settingsPanelCycle();
  void settingsPanelFollowsWindowWidth();
  void cardFromSettingsPanel();
  void invalidWaitingTime();
  void typeListGrowsOncePerType();
  void resetForNewDocument();
  void tabsFitThePanel();
  void pagesBuiltWhenFirstShown();

private:
  template <typename T = QWidget> T* find(const QString& name) {
    T* w = window_->centralWidget()->findChild<T*>(name);
    if (!w)
      qFatal("no control %s", qPrintable(name));
    return w;
  }
  ToolsPanel* panel() { return window_->toolsPanel(); }
  SourceEditor* editor() { return window_->editor(); }
  QCheckBox* otherSettings() { return find<QCheckBox>("CheckBox1"); }

  TestServices* services_ = nullptr;
  MainWindow* window_ = nullptr;
};

void ToolsPanelTest::init() {
  services_ = new TestServices;
  window_ = new MainWindow(services_->services());
  window_->show();
  QVERIFY(QTest::qWaitForWindowActive(window_));
  // Every page built, as after the user has been to every tab.
  for (int t = 0; t < ToolsPanel::TabCount; ++t)
    window_->toolsPanel()->page(ToolsPanel::Tab(t));
  QTest::qWait(10);
  editor()->textDocument().replaceWholeText(QString());
}

void ToolsPanelTest::cleanup() {
  editor()->textDocument().setModified(false);
  delete window_;
  delete services_;
}

void ToolsPanelTest::controls_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("text"); // caption or default text
  QTest::addColumn<QString>("hint");
  QTest::addColumn<bool>("enabled");
  QTest::newRow("Edit1") << "Edit1"
                         << "http://"
                         << "Access path of the page to be loaded. It is mandatory to specify."
                         << true;
  QTest::newRow("ComboBox3") << "ComboBox3"
                             << ""
                             << "A betöltendő oldal betöltődését elindító gyorsbillentyű. "
                                "Megadása nem kötelező."
                             << false;
  QTest::newRow("Button3") << "Button3"
                           << "OK"
                           << "Insertion of the link " << true;
  QTest::newRow("Edit9") << "Edit9"
                         << "picture"
                         << "Text substituting the image being loaded. This text is shown until "
                            "the image has been loaded. It is not mandatory to specify."
                         << true;
  QTest::newRow("Button9") << "Button9"
                           << "OK"
                           << "Insertion of the card " << true;
  QTest::newRow("CheckBox1") << "CheckBox1"
                             << "Other settings (Disabled)"
                             << "Enable/Disable other settings" << true;
  QTest::newRow("Edit13") << "Edit13"
                          << "1"
                          << "After expiry of this time, the respective URL gets loaded. It has "
                             "to be specified."
                          << false;
  QTest::newRow("Edit14") << "Edit14"
                          << "http://"
                          << "After expiry of the waiting time, the path of the respective page "
                             "has to be specified (mandatory)."
                          << false;
  QTest::newRow("ComboBox2") << "ComboBox2"
                             << "accept"
                             << "Button type. It is mandatory to specify." << true;
  QTest::newRow("Edit12") << "Edit12"
                          << "+3611234567"
                          << "Phone number to be called. It is mandatory to specify." << true;
  QTest::newRow("Button24") << "Button24"
                            << "OK"
                            << "Insertion of the button \"Add to Name List\"" << true;
  QTest::newRow("Edit21") << "Edit21"
                          << "Adam"
                          << "Name of the owner of the phone number to be added to the name "
                             "list. It is not mandatory to specify."
                          << true;
  QTest::newRow("Edit16") << "Edit16"
                          << "15"
                          << "Width of the input field. It is not mandatory to specify." << false;
  QTest::newRow("Edit18") << "Edit18"
                          << "255"
                          << "Maximum of characters that can be added. It is not mandatory to "
                             "specify."
                          << false;
  QTest::newRow("ComboBox1") << "ComboBox1"
                             << "text"
                             << "Type of input field. It is mandatory to specify." << true;
  QTest::newRow("Label20") << "Label20"
                           << "Max. lenght:"
                           << "Enable/Disable (User defined/Automatic)" << true;
  QTest::newRow("Button1") << "Button1"
                           << "Carriage return"
                           << "Sortörés" << true;
  QTest::newRow("Button2") << "Button2"
                           << "Line omission"
                           << "Sorkihagyás" << true;
  QTest::newRow("BitBtn5") << "BitBtn5"
                           << "Brake line"
                           << "Brake line (Shift+Enter)" << true;
  QTest::newRow("Button21")
      << "Button21"
      << "_"
      << "Non-Breaking Space - If you want to use more than one space successively. (Ctrl+Space)"
      << true;
  QTest::newRow("Button17") << "Button17"
                            << "Strong"
                            << "Strong - It is recommended to use bold instead of this." << true;
  QTest::newRow("Button30") << "Button30"
                            << "Template"
                            << "Template" << true;
}

void ToolsPanelTest::controls() {
  QFETCH(QString, name);
  QFETCH(QString, text);
  QFETCH(QString, hint);
  QFETCH(bool, enabled);
  QWidget* w = find(name);
  QString shown;
  if (auto* edit = qobject_cast<QLineEdit*>(w))
    shown = edit->text();
  else if (auto* combo = qobject_cast<QComboBox*>(w))
    shown = combo->currentText();
  else if (auto* button = qobject_cast<QAbstractButton*>(w))
    shown = button->text();
  else if (auto* label = qobject_cast<QLabel*>(w))
    shown = label->text();
  QCOMPARE(shown, text);
  QCOMPARE(w->toolTip(), hint);
  QCOMPARE(w->statusTip(), hint);
  QCOMPARE(w->isEnabled(), enabled);
}

void ToolsPanelTest::buttonsInsert_data() {
  QTest::addColumn<int>("tab");
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("before"); // editor text; [ ] marks the selection
  QTest::addColumn<QString>("after");  // editor text; | marks the caret
  const auto tab = [](ToolsPanel::Tab t) { return int(t); };
  QTest::newRow("brake line") << tab(ToolsPanel::GeneralTools) << "BitBtn5"
                              << "a[b]c"
                              << "a<br/>|c";
  QTest::newRow("line omission") << tab(ToolsPanel::GeneralTools) << "BitBtn6"
                                 << "[]"
                                 << "<br/><br/>|";
  QTest::newRow("link") << tab(ToolsPanel::Link) << "Button3"
                        << "x[sel]y"
                        << "x<a href=\"http://\">Link</a>|y";
  QTest::newRow("image") << tab(ToolsPanel::Image) << "Button4"
                         << "[]"
                         << "<img src=\"http://\" alt=\"picture\"/>|";
  QTest::newRow("image link") << tab(ToolsPanel::ImageLink) << "Button5"
                              << "[]"
                              << "<a href=\"http://\"><img src=\"http://\"/></a>|";
  QTest::newRow("card") << tab(ToolsPanel::Card) << "Button9"
                        << "[]"
                        << "<card id=\"second\" title=\"Card Title\">\r\n\r\n\r\n\r\n</card>|";
  QTest::newRow("do element") << tab(ToolsPanel::Button) << "Button12"
                              << "[]"
                              << "<do type=\"accept\" label=\"Go\">\r\n<go href=\"http://\"/>"
                                 "\r\n</do>|";
  QTest::newRow("phone call") << tab(ToolsPanel::PhoneCall) << "Button7"
                              << "[]"
                              << "<a href=\"wtai://wp/mc;+3611234567\">Call</a>|";
  QTest::newRow("name list") << tab(ToolsPanel::NameList) << "Button24"
                             << "[]"
                             << "<a href=\"wtai://wp/ap;+3611234567;Adam\">Add to name list</a>|";
  QTest::newRow("input field") << tab(ToolsPanel::InputField) << "Button11"
                               << "[]"
                               << "<input name=\"first\" type=\"text\"/>|";
  QTest::newRow("comment") << tab(ToolsPanel::Comment) << "Button10"
                           << "[]"
                           << "<!--  -->|";
  QTest::newRow("align center") << tab(ToolsPanel::Formatting) << "BitBtn2"
                                << "[]"
                                << "<p align=\"center\">\r\n\r\n</p>|";
  QTest::newRow("align left, lines") << tab(ToolsPanel::Formatting) << "BitBtn1"
                                     << "[a\r\nb]"
                                     << "<p align=\"left\">\r\na\r\nb\r\n</p>|";
  QTest::newRow("bold, nothing selected") << tab(ToolsPanel::CharactersSymbols) << "Button6"
                                          << "x[]"
                                          << "x<b>|</b>";
  QTest::newRow("italic, one character") << tab(ToolsPanel::CharactersSymbols) << "Button13"
                                         << "[x]"
                                         << "<i>|</i>";
  QTest::newRow("strong, two characters") << tab(ToolsPanel::CharactersSymbols) << "Button17"
                                          << "[ab]c"
                                          << "<strong>ab|</strong>c";
  QTest::newRow("underline, lines") << tab(ToolsPanel::CharactersSymbols) << "Button14"
                                    << "[a\r\nb]"
                                    << "<u>a\r\nb|</u>";
  QTest::newRow("less than") << tab(ToolsPanel::CharactersSymbols) << "Button19"
                             << "[sel]"
                             << "&lt;|";
  QTest::newRow("ampersand") << tab(ToolsPanel::CharactersSymbols) << "BitBtn4"
                             << "[]"
                             << "&amp;|";
  QTest::newRow("dollar") << tab(ToolsPanel::CharactersSymbols) << "Button25"
                          << "[]"
                          << "$$|";
  QTest::newRow("quotation mark") << tab(ToolsPanel::CharactersSymbols) << "Button22"
                                  << "[]"
                                  << "&quot;|";
  QTest::newRow("back button") << tab(ToolsPanel::Other) << "Button23"
                               << "[]"
                               << "<template>\r\n<do type=\"prev\" label=\"Back\">\r\n<prev/>"
                                  "\r\n</do>\r\n</template>|";
  QTest::newRow("template over a selection")
      << tab(ToolsPanel::Other) << "Button30"
      << "[old]"
      << "<template>\r\n<do type=\"|\" label=\"\"><go href=\"\"/>\r\n</do>\r\n</template>";
  QTest::newRow("head, one character") << tab(ToolsPanel::Other) << "Button28"
                                       << "[x]"
                                       << "<head>|</head>";
  QTest::newRow("refresh") << tab(ToolsPanel::Other) << "Button27"
                           << "[ab]"
                           << "<refresh>ab|</refresh>";
  QTest::newRow("paragraph") << tab(ToolsPanel::Other) << "Button26"
                             << "[]"
                             << "<p>|</p>";
}

void ToolsPanelTest::buttonsInsert() {
  QFETCH(int, tab);
  QFETCH(QString, button);
  QFETCH(QString, before);
  QFETCH(QString, after);
  const int start = before.indexOf('[');
  const int length = before.indexOf(']') - start - 1;
  editor()->textDocument().replaceWholeText(before.remove('[').remove(']'));
  editor()->setSelection(tessera::TextPosition(start), length);
  panel()->setCurrentIndex(tab);
  auto* b = find<QAbstractButton>(button);
  b->setFocus();
  QTest::mouseClick(b, Qt::LeftButton);
  const int caret = after.indexOf('|');
  QCOMPARE(editor()->textDocument().wholeText(), after.remove('|'));
  QCOMPARE(editor()->caretPosition().value, caret);
  QCOMPARE(editor()->selectionLength(), 0);
  QCOMPARE(QApplication::focusWidget(), editor());
  QVERIFY(editor()->textDocument().isModified());
}

void ToolsPanelTest::settingsPanelCycle() {
  QFrame* settings = panel()->settingsPanel();
  QCOMPARE(settings->objectName(), QString("Panel1"));
  QVERIFY(!settings->isVisible());
  panel()->setCurrentIndex(ToolsPanel::Card);
  QTest::mouseClick(otherSettings(), Qt::LeftButton);
  QVERIFY(settings->isVisible());
  QCOMPARE(otherSettings()->text(), QString("Other settings (Enabled)"));
  QVERIFY(!find("Button9")->isVisible());
  // It lies right under the tools panel, over the top of the editor.
  QCOMPARE(settings->y(), panel()->geometry().bottom() + 1);
  QVERIFY(settings->geometry().intersects(editor()->geometry()));
  QVERIFY(settings->height() < editor()->height());
  QCOMPARE(window_->centralWidget()->childAt(settings->geometry().center()) != editor(), true);

  QTest::mouseClick(otherSettings(), Qt::LeftButton);
  QVERIFY(!settings->isVisible());
  QCOMPARE(otherSettings()->text(), QString("Other settings (Disabled)"));
  QVERIFY(find("Button9")->isVisible());

  // Another tab closes it; coming back shows it closed.
  QTest::mouseClick(otherSettings(), Qt::LeftButton);
  QTabBar* tabs = panel()->tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(ToolsPanel::Link).center());
  QCOMPARE(panel()->currentIndex(), int(ToolsPanel::Link));
  QVERIFY(!settings->isVisible());
  panel()->setCurrentIndex(ToolsPanel::Card);
  QVERIFY(!otherSettings()->isChecked());
  QCOMPARE(otherSettings()->text(), QString("Other settings (Disabled)"));
  QVERIFY(find("Button9")->isVisible());
  QVERIFY(!settings->isVisible());
}

void ToolsPanelTest::settingsPanelFollowsWindowWidth() {
  window_->showNormal();
  for (int width : {640, 1000, 700}) {
    window_->resize(width, 500);
    QTRY_COMPARE(window_->width(), width);
    QTRY_COMPARE(panel()->settingsPanel()->width(), window_->centralWidget()->width() - 20);
    QCOMPARE(window_->centralWidget()->width(), width);
  }
}

void ToolsPanelTest::cardFromSettingsPanel() {
  panel()->setCurrentIndex(ToolsPanel::Card);
  otherSettings()->click();
  find<QAbstractButton>("CheckBox2")->click();
  find<QAbstractButton>("CheckBox3")->click();
  auto* waiting = find<QLineEdit>("Edit13");
  QVERIFY(waiting->isEnabled() && find("Edit14")->isEnabled());
  waiting->setText("007");
  find<QLineEdit>("Edit14")->setText("next.wml");
  find<QAbstractButton>("Button8")->click();
  QCOMPARE(editor()->textDocument().wholeText(),
           QString("<card id=\"second\" title=\"Card Title\" newcontext=\"true\">\r\n"
                   "<onevent type=\"ontimer\">\r\n<go href=\"next.wml\"/>\r\n</onevent>\r\n"
                   "<timer value=\"70\"/>\r\n\r\n\r\n\r\n</card>"));
  QCOMPARE(QApplication::focusWidget(), editor());
  QVERIFY(!panel()->settingsPanel()->isVisible());
  QVERIFY(!otherSettings()->isChecked());
  QCOMPARE(otherSettings()->text(), QString("Other settings (Disabled)"));
  QVERIFY(find("Button9")->isVisible());
  // Reopening shows the settings as they were left.
  otherSettings()->click();
  QVERIFY(find<QCheckBox>("CheckBox2")->isChecked());
  QVERIFY(find<QCheckBox>("CheckBox3")->isChecked());
  QCOMPARE(waiting->text(), QString("007"));
  QVERIFY(waiting->isEnabled());
  // Unchecking "Use timer" disables both timer fields again.
  find<QAbstractButton>("CheckBox3")->click();
  QVERIFY(!waiting->isEnabled() && !find("Edit14")->isEnabled());
}

void ToolsPanelTest::invalidWaitingTime() {
  panel()->setCurrentIndex(ToolsPanel::Card);
  otherSettings()->click();
  find<QAbstractButton>("CheckBox3")->click();
  find<QLineEdit>("Edit13")->setText("x1"); // as if pasted
  services_->prompts.answerButton(QMessageBox::Ok);
  find<QAbstractButton>("Button8")->click();
  QCOMPARE(services_->prompts.asked.size(), 1);
  const auto& box = services_->prompts.asked.first();
  QCOMPARE(box.caption, QString("Error"));
  QCOMPARE(box.text, QString("'x1' is not a valid integer value"));
  // Nothing inserted; the panel stays open with its values.
  QVERIFY(editor()->textDocument().wholeText().isEmpty());
  QVERIFY(panel()->settingsPanel()->isVisible());
  QVERIFY(otherSettings()->isChecked());
  QCOMPARE(find<QLineEdit>("Edit13")->text(), QString("x1"));
}

void ToolsPanelTest::typeListGrowsOncePerType() {
  panel()->setCurrentIndex(ToolsPanel::Button);
  auto* type = find<QComboBox>("ComboBox2");
  QCOMPARE(type->count(), 8);
  QCOMPARE(type->itemText(7), QString("vnd.*"));
  const struct {
    const char* typed;
    int count;
  } uses[] = {{"Accept", 8}, {"x-mine", 9}, {"x-mine", 9}, {"X-MINE", 9}, {"help", 9}, {"y", 10}};
  for (const auto& use : uses) {
    type->setEditText(QString::fromLatin1(use.typed));
    find<QAbstractButton>("Button12")->click();
    QCOMPARE(type->count(), use.count);
    QCOMPARE(type->currentText(), QString::fromLatin1(use.typed));
    QVERIFY(editor()->textDocument().wholeText().endsWith(
        QString("<do type=\"%1\" label=\"Go\">\r\n<go href=\"http://\"/>\r\n</do>")
            .arg(use.typed)));
  }
  QCOMPARE(type->itemText(8), QString("x-mine"));
  QCOMPARE(type->itemText(9), QString("y"));
  // Enter in the type field adds nothing by itself.
  type->setFocus();
  type->setEditText("zzz");
  QTest::keyClick(type, Qt::Key_Return);
  QCOMPARE(type->count(), 11); // one added by the do element, not two
}

void ToolsPanelTest::resetForNewDocument() {
  // Change every field, open the settings panel, then reset.
  for (QLineEdit* edit : window_->centralWidget()->findChildren<QLineEdit*>())
    if (!edit->objectName().isEmpty())
      edit->setText("changed");
  find<QComboBox>("ComboBox3")->setEditText("#");
  find<QComboBox>("ComboBox2")->setEditText("x-new");
  find<QAbstractButton>("Button12")->click();
  find<QComboBox>("ComboBox1")->setCurrentIndex(1);
  panel()->setCurrentIndex(ToolsPanel::Card);
  otherSettings()->click();
  find<QAbstractButton>("CheckBox2")->click();
  find<QAbstractButton>("CheckBox3")->click();
  QTest::mouseClick(find<QLabel>("Label29"), Qt::LeftButton); // access key on

  panel()->resetForNewDocument();

  QCOMPARE(panel()->currentWidget(), panel()->page(ToolsPanel::GeneralTools));
  const QList<QPair<const char*, const char*>> texts = {
      {"Edit1", "http://"},      {"Edit10", "Link"},        {"Edit2", "http://"},
      {"Edit9", "picture"},      {"Edit3", "http://"},      {"Edit4", "http://"},
      {"Edit5", "second"},       {"Edit6", "Card Title"},   {"Edit13", "1"},
      {"Edit14", "http://"},     {"Edit7", "Go"},           {"Edit8", "http://"},
      {"Edit11", "Call"},        {"Edit12", "+3611234567"}, {"Edit19", "Add to name list"},
      {"Edit20", "+3611234567"}, {"Edit21", "Adam"},        {"Edit15", "first"},
      {"Edit16", "15"},          {"Edit18", "255"},         {"Edit17", ""}};
  for (const auto& [name, text] : texts)
    QCOMPARE(find<QLineEdit>(name)->text(), QString(text));
  QCOMPARE(find<QComboBox>("ComboBox3")->currentText(), QString());
  QCOMPARE(find<QComboBox>("ComboBox2")->currentText(), QString("accept"));
  QCOMPARE(find<QComboBox>("ComboBox2")->count(), 9); // the grown list stays
  QCOMPARE(find<QComboBox>("ComboBox1")->currentText(), QString("text"));
  QVERIFY(!otherSettings()->isChecked());
  QVERIFY(!panel()->settingsPanel()->isVisible());
  QCOMPARE(otherSettings()->text(), QString("Else settings (Disabled)"));
  QVERIFY(!find<QCheckBox>("CheckBox2")->isChecked());
  QVERIFY(!find<QCheckBox>("CheckBox3")->isChecked());
  QVERIFY(!find("Edit13")->isEnabled() && !find("Edit14")->isEnabled());
  panel()->setCurrentIndex(ToolsPanel::Card);
  QVERIFY(find("Button9")->isVisible());
  // The odd caption lasts until the box is next clicked.
  QCOMPARE(otherSettings()->text(), QString("Else settings (Disabled)"));
  otherSettings()->click();
  QCOMPARE(otherSettings()->text(), QString("Other settings (Enabled)"));
}

// At the smallest window size the View menu offers, every control of every
// tab and of the card settings panel is wholly visible.
void ToolsPanelTest::tabsFitThePanel() {
  window_->showNormal();
  window_->resize(640, 480);
  QTRY_COMPARE(window_->centralWidget()->width(), 640);
  QCOMPARE(panel()->height(), 65);
  const QByteArray shots = qgetenv("TESSERA_TOOLS_SCREENSHOTS");
  const auto checkInside = [](QWidget* area) {
    for (QWidget* w : area->findChildren<QWidget*>()) {
      if (!w->isVisible() || w->parentWidget()->inherits("QComboBox"))
        continue;
      const QRect r(w->mapTo(area, QPoint(0, 0)), w->size());
      QVERIFY2(area->rect().contains(r), qPrintable(w->objectName()));
    }
  };
  for (int t = 0; t < ToolsPanel::TabCount; ++t) {
    panel()->setCurrentIndex(t);
    if (t == ToolsPanel::Card)
      otherSettings()->setChecked(true);
    QWidget* page = panel()->page(ToolsPanel::Tab(t));
    QVERIFY(page->isVisible());
    checkInside(page);
    if (t == ToolsPanel::Card)
      checkInside(panel()->settingsPanel());
    if (!shots.isEmpty())
      window_->grab(QRect(0, 0, window_->width(), 200))
          .save(QDir(QString::fromLocal8Bit(shots)).filePath(QString("tab%1.png").arg(t + 1)));
  }
}

// A page is built when first shown, whole at once, and Tab walks from the
// tab row through its fields in order and on to the editor.
void ToolsPanelTest::pagesBuiltWhenFirstShown() {
  delete window_;
  window_ = new MainWindow(services_->services());
  window_->show();
  QVERIFY(QTest::qWaitForWindowActive(window_));
  QWidget* area = window_->centralWidget();
  QVERIFY(!area->findChild<QLineEdit*>("Edit1"));  // the Link tab's URL field
  QVERIFY(!area->findChild<QLineEdit*>("Edit15")); // the Input field tab's name
  for (const ToolsPanel::Tab tab : {ToolsPanel::Link, ToolsPanel::InputField}) {
    panel()->setCurrentIndex(tab);
    QWidget* page = panel()->currentWidget();
    QList<QWidget*> fields;
    for (QWidget* w : page->findChildren<QWidget*>()) {
      const bool hiddenOnPurpose =
          w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide);
      const bool popup = w->window() != window_; // a drop-down list
      if (!w->parentWidget()->inherits("QComboBox") && !hiddenOnPurpose && !popup)
        QVERIFY2(w->isVisible(), qPrintable(w->objectName()));
      if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
        fields.append(w);
    }
    QVERIFY(fields.size() >= 2);
    QTRY_VERIFY(window_->isActiveWindow());
    QTabBar* tabs = panel()->tabBar();
    tabs->setFocus();
    QTRY_VERIFY(tabs->hasFocus());
    // Past the tab row and its scroll buttons, into the page.
    QWidget* at = tabs;
    for (int i = 0; i < 4 && (at == tabs || tabs->isAncestorOf(at)); ++i) {
      QTest::keyClick(at, Qt::Key_Tab);
      at = QApplication::focusWidget();
    }
    QList<QWidget*> walked{at};
    for (int i = 0; i < fields.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      walked.append(QApplication::focusWidget());
    }
    QCOMPARE(walked, fields + QList<QWidget*>{editor()});
  }
}

QTEST_MAIN(ToolsPanelTest)
#include "tst_toolspanel.moc"
