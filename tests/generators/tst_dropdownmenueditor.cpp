#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "generators/DropDownMenuEditor.h"
#include "generators/GeneratorTexts.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tessera;

// The drop-down menu editor's three states, the editable source, the Enter
// key's focus moves and the reset on every close.
class DropDownMenuEditorTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void opensWithDefaults();
  void itemCounts_data();
  void itemCounts();
  void editedSourceIsInserted();
  void emptyAndMarkupValuesVerbatim();
  void everyCloseResets_data();
  void everyCloseResets();
  void enterMovesThroughFields();

private:
  template <typename T> T* child(const QString& name) {
    T* w = dialog->findChild<T*>(name);
    if (!w)
      qFatal("no child %s", qPrintable(name));
    return w;
  }
  QLineEdit* edit(const QString& name) { return child<QLineEdit>(name); }
  QPushButton* button(const QString& name) { return child<QPushButton>(name); }
  QGroupBox* frame(int n) { return child<QGroupBox>(QStringLiteral("GroupBox%1").arg(n)); }
  QPlainTextEdit* source() { return child<QPlainTextEdit>("Memo1"); }
  void chooseCount(int n) {
    child<QRadioButton>(QStringLiteral("RadioGroup1Item%1").arg(n))->click();
  }
  QPushButton* generateButton(int n) { return button(QStringLiteral("BitBtn%1").arg(n + 1)); }
  void verifySetup();

  SourceEditor* editor = nullptr;
  DropDownMenuEditor* dialog = nullptr;
};

// Name and link fields of items 1 to 4.
static const char* const kNames[] = {"Edit2", "Edit5", "Edit7", "Edit9"};
static const char* const kLinks[] = {"Edit3", "Edit4", "Edit6", "Edit8"};

void DropDownMenuEditorTest::init() {
  editor = new SourceEditor;
  editor->textDocument().replaceWholeText(QStringLiteral("<p>x</p>"));
  editor->setSelection(tessera::TextPosition(3), 1);
  editor->textDocument().setModified(false);
  dialog = new DropDownMenuEditor(*editor);
  dialog->show();
}

void DropDownMenuEditorTest::cleanup() {
  delete dialog;
  delete editor;
}

void DropDownMenuEditorTest::verifySetup() {
  QVERIFY(child<QGroupBox>("RadioGroup1")->isEnabled());
  QVERIFY(child<QRadioButton>("RadioGroup1Item1")->isChecked());
  QVERIFY(edit("Edit1")->isEnabled());
  QCOMPARE(edit("Edit1")->text(), QStringLiteral("Menu"));
  QVERIFY(button("Button1")->isEnabled());
  for (int k = 0; k < 4; ++k) {
    QVERIFY(frame(k + 3)->isHidden());
    QCOMPARE(edit(kNames[k])->text(), QStringLiteral("Menu item %1").arg(k + 1));
    QCOMPARE(edit(kLinks[k])->text(), QStringLiteral("http://"));
    QVERIFY(edit(kNames[k])->isEnabled());
    QVERIFY(edit(kLinks[k])->isEnabled());
    QVERIFY(generateButton(k + 1)->isHidden());
    QVERIFY(generateButton(k + 1)->isEnabled());
  }
  for (QLabel* label : dialog->findChildren<QLabel*>())
    QVERIFY(label->isEnabled());
  QVERIFY(!button("BitBtn8")->isHidden());
  QVERIFY(!button("BitBtn8")->isEnabled());
  QVERIFY(child<QGroupBox>("GroupBox7")->isHidden());
  QCOMPARE(source()->toPlainText(), QString());
  QVERIFY(button("BitBtn7")->isHidden());
  QVERIFY(!button("BitBtn9")->isHidden());
  QVERIFY(!button("BitBtn9")->isEnabled());
  QVERIFY(!button("BitBtn1")->isHidden());
  QVERIFY(button("BitBtn1")->isEnabled());
  QVERIFY(button("BitBtn6")->isEnabled());
}

void DropDownMenuEditorTest::opensWithDefaults() {
  verifySetup();
  QCOMPARE(dialog->windowTitle(), QStringLiteral("Drop-down Menu Editor"));
  QCOMPARE(dialog->size(), QSize(626, 625));
  QVERIFY(dialog->isModal());
}

void DropDownMenuEditorTest::itemCounts_data() {
  QTest::addColumn<int>("count");
  for (int n = 1; n <= 4; ++n)
    QTest::addRow("%d items", n) << n;
}

void DropDownMenuEditorTest::itemCounts() {
  QFETCH(int, count);
  chooseCount(count);
  edit("Edit1")->setText("Pick");
  button("Button1")->click();
  // Items: frames 1..n and the generate button for n.
  QVERIFY(!child<QGroupBox>("RadioGroup1")->isEnabled());
  QVERIFY(!edit("Edit1")->isEnabled());
  QVERIFY(!button("Button1")->isEnabled());
  QVERIFY(button("BitBtn8")->isHidden());
  for (int k = 1; k <= 4; ++k) {
    QCOMPARE(frame(k + 2)->isHidden(), k > count);
    QCOMPARE(generateButton(k)->isHidden(), k != count);
  }
  QVERIFY(generateButton(count)->isEnabled());
  QVERIFY(button("BitBtn7")->isHidden());

  // Names filled after links: the link still comes first in each option.
  QList<MenuItem> expected;
  for (int k = 0; k < 4; ++k) {
    edit(kLinks[k])->setText(QStringLiteral("page%1.wml").arg(k + 1));
    edit(kNames[k])->setText(QStringLiteral("Page %1").arg(k + 1));
    if (k < count)
      expected.append(
          {QStringLiteral("Page %1").arg(k + 1), QStringLiteral("page%1.wml").arg(k + 1)});
  }
  generateButton(count)->click();
  const QString text = selectListText("Pick", expected);
  QCOMPARE(dialog->sourceText(), text);
  // Generated: source shown, items and generate button locked.
  QVERIFY(!child<QGroupBox>("GroupBox7")->isHidden());
  QVERIFY(!button("BitBtn7")->isHidden());
  QVERIFY(button("BitBtn7")->isEnabled());
  QVERIFY(button("BitBtn9")->isHidden());
  QVERIFY(!generateButton(count)->isHidden());
  QVERIFY(!generateButton(count)->isEnabled());
  for (int k = 0; k < 4; ++k) {
    QVERIFY(!edit(kNames[k])->isEnabled());
    QVERIFY(!edit(kLinks[k])->isEnabled());
  }
  for (int n = 1; n <= 8; ++n)
    QVERIFY(!child<QLabel>(QStringLiteral("Label%1").arg(n))->isEnabled());

  button("BitBtn7")->click();
  QCOMPARE(editor->textDocument().wholeText(), "<p>" + text + "</p>");
  QCOMPARE(editor->caretPosition().value, 3 + text.size());
  QCOMPARE(editor->selectionLength(), 0);
  QVERIFY(editor->textDocument().isModified());
  QVERIFY(!dialog->isVisible());
  verifySetup();
}

void DropDownMenuEditorTest::editedSourceIsInserted() {
  chooseCount(2);
  button("Button1")->click();
  generateButton(2)->click();
  QCOMPARE(dialog->sourceText(),
           QStringLiteral("<p>\r\n<select title=\"Menu\">\r\n"
                          "<option onpick=\"http://\">Menu item 1</option>\r\n"
                          "<option onpick=\"http://\">Menu item 2</option>\r\n"
                          "</select>\r\n</p>\r\n"));
  source()->setPlainText("<p>\nmine\n</p>");
  button("BitBtn7")->click();
  QCOMPARE(editor->textDocument().wholeText(), QStringLiteral("<p><p>\r\nmine\r\n</p></p>"));
}

void DropDownMenuEditorTest::emptyAndMarkupValuesVerbatim() {
  edit("Edit1")->clear();
  button("Button1")->click();
  edit("Edit2")->setText("\"<b>&amp;\"");
  edit("Edit3")->clear();
  generateButton(1)->click();
  QCOMPARE(dialog->sourceText(),
           QStringLiteral("<p>\r\n<select title=\"\">\r\n<option onpick=\"\">\"<b>&amp;\"</option>"
                          "\r\n</select>\r\n</p>\r\n"));
}

void DropDownMenuEditorTest::everyCloseResets_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<int>("stage"); // 0 setup changed, 1 items, 2 generated
  for (const QString how : {"cancel", "close box", "escape", "retry"})
    for (int stage = 0; stage <= 2; ++stage)
      QTest::newRow(qPrintable(how + QStringLiteral(" at stage %1").arg(stage))) << how << stage;
}

void DropDownMenuEditorTest::everyCloseResets() {
  QFETCH(QString, how);
  QFETCH(int, stage);
  chooseCount(3);
  edit("Edit1")->setText("Other");
  if (stage >= 1) {
    button("Button1")->click();
    edit("Edit7")->setText("changed");
  }
  if (stage >= 2)
    generateButton(3)->click();
  if (how == "cancel")
    button("BitBtn6")->click();
  else if (how == "close box")
    dialog->close();
  else if (how == "escape")
    QTest::keyClick(dialog, Qt::Key_Escape);
  else
    button("BitBtn1")->click();
  QCOMPARE(dialog->isVisible(), how == "retry");
  verifySetup();
  QCOMPARE(editor->textDocument().wholeText(), QStringLiteral("<p>x</p>"));
  QVERIFY(!editor->textDocument().isModified());
}

void DropDownMenuEditorTest::enterMovesThroughFields() {
  QApplication::setActiveWindow(dialog);
  QVERIFY(QTest::qWaitForWindowActive(dialog));
  const auto enterIn = [](QWidget* w) {
    w->setFocus();
    QTest::keyClick(w, Qt::Key_Return);
  };
  enterIn(edit("Edit1"));
  QCOMPARE(QApplication::focusWidget(), button("Button1"));
  QVERIFY(dialog->isVisible()); // Enter pressed nothing
  QVERIFY(button("Button1")->isEnabled());

  chooseCount(2);
  // Enter on the focused button presses it.
  QTest::keyClick(button("Button1"), Qt::Key_Return);
  QVERIFY(!button("Button1")->isEnabled());
  QVERIFY(!frame(4)->isHidden());
  const QStringList order = {"Edit2", "Edit3", "Edit5", "Edit4"};
  edit("Edit2")->setFocus();
  for (int i = 1; i < order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), edit(order.at(i)));
  }
  // The last shown field moves on to the generate button of two items.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QCOMPARE(QApplication::focusWidget(), generateButton(2));
  QVERIFY(button("BitBtn7")->isHidden());
  // Other keys type as usual.
  edit("Edit4")->setFocus();
  QTest::keyClicks(edit("Edit4"), "x");
  QCOMPARE(edit("Edit4")->text(), QStringLiteral("http://x"));
  QCOMPARE(QApplication::focusWidget(), edit("Edit4"));
}

QTEST_MAIN(DropDownMenuEditorTest)
#include "tst_dropdownmenueditor.moc"
