#include "tools/NavigationTabs.h"

#include "editor/EditorView.h"
#include "tools/FieldRules.h"
#include "tools/NavigationBuilders.h"
#include "tools/ToolWidgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

namespace tessera {

using namespace toolui;

NavigationTabs::NavigationTabs(QWidget* buttonPage, QWidget* otherPage, EditorView* editor)
    : QObject(buttonPage), editor_(editor) {
  buildButtonTab(buttonPage);
  buildOtherTab(otherPage);
}

void NavigationTabs::buildButtonTab(QWidget* page) {
  QHBoxLayout* layout = row(page);
  label(layout, "Label7", QStringLiteral("Button text:"));
  buttonText_ = lineEdit(layout, "Edit7", QStringLiteral("Go"),
                         QStringLiteral("Text of the button. It is mandatory to specify."), 100);
  label(layout, "Label8", QStringLiteral("Button URL:"));
  buttonUrl_ = lineEdit(
      layout, "Edit8", QStringLiteral("http://"),
      QStringLiteral("Access path of the button page to be loaded. It is mandatory to specify."),
      180);
  for (QLineEdit* edit : {buttonText_, buttonUrl_}) {
    setEnterRule(edit, EnterRule::Advance);
    selectAllOnDoubleClick(edit);
  }
  label(layout, "Label24", QStringLiteral("Type:"));
  type_ = editableCombo(layout, "ComboBox2", defaultDoTypes(),
                        QStringLiteral("Button type. It is mandatory to specify."), 110);
  type_->setCurrentIndex(0);
  setEnterRule(type_, EnterRule::AdvanceAndConfirm);
  selectAllOnDoubleClick(type_);
  QPushButton* ok = okButton(layout, "Button12", QStringLiteral("Insertion of the button"));
  connect(ok, &QPushButton::clicked, this, &NavigationTabs::insertDoElement);
  chainTabOrder({buttonText_, buttonUrl_, type_, ok});
  layout->addStretch(1);
}

void NavigationTabs::buildOtherTab(QWidget* page) {
  QHBoxLayout* layout = row(page);
  const auto tool = [&](const char* name, const char* caption,
                        std::function<Insertion(const QString&)> build) {
    QPushButton* b =
        button(layout, name, QString::fromLatin1(caption), QString::fromLatin1(caption));
    connect(b, &QPushButton::clicked, this,
            [this, build] { editor_->apply(build(editor_->selectedText())); });
  };
  tool("Button23", "Back button", [](const QString&) { return backButtonTemplate(); });
  tool("Button26", "Paragraph", paragraphTool);
  tool("Button27", "Refresh", refreshTool);
  tool("Button28", "Head", headTool);
  tool("Button30", "Template", [](const QString&) { return templateSkeleton(); });
  // A leftover of the layout: never shown, does nothing.
  button(layout, "Button29", QStringLiteral("Button29"), QString())->hide();
  layout->addStretch(1);
}

void NavigationTabs::insertDoElement() {
  const QString type = type_->currentText();
  editor_->apply(doElement(type, buttonText_->text(), buttonUrl_->text()));
  QStringList types;
  for (int i = 0; i < type_->count(); ++i)
    types.append(type_->itemText(i));
  if (!containsDoType(types, type)) {
    // Adding an item must not replace what the field shows.
    type_->addItem(type);
    type_->setEditText(type);
  }
  editor_->focusEditor();
}

void NavigationTabs::reset() {
  buttonText_->setText(QStringLiteral("Go"));
  buttonUrl_->setText(QStringLiteral("http://"));
  // The grown type list stays; only the first item is chosen again.
  type_->setCurrentIndex(0);
  type_->setEditText(type_->itemText(0));
}

} // namespace tessera
