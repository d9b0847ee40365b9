#include "tools/InputTabs.h"

#include "editor/EditorView.h"
#include "platform/Hint.h"
#include "tools/FieldRules.h"
#include "tools/InputBuilders.h"
#include "tools/ToolWidgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessera {

using namespace toolui;

// A digits-only field behind a green/red switch, disabled at start.
static OptionalFieldSwitch* optionalNumber(QBoxLayout* layout, const char* green, const char* red,
                                           const QString& caption, const char* name,
                                           const QString& text, int maxLength, const QString& hint,
                                           QLineEdit*& edit, QObject* owner) {
  const QString switchHint = QStringLiteral("Enable/Disable (User defined/Automatic)");
  const auto [greenLabel, redLabel] = switchLabels(layout, green, red, caption, switchHint);
  edit = lineEdit(layout, name, text, hint, 45);
  edit->setMaxLength(maxLength);
  acceptDigitsOnly(edit);
  setEnterRule(edit, EnterRule::Advance);
  return new OptionalFieldSwitch(greenLabel, redLabel, edit, false, owner);
}

InputTabs::InputTabs(QWidget* inputPage, QWidget* commentPage, EditorView* editor)
    : QObject(inputPage), editor_(editor) {
  QHBoxLayout* input = row(inputPage);
  label(input, "Label16", QStringLiteral("Field name:"));
  name_ = lineEdit(
      input, "Edit15", QStringLiteral("first"),
      QStringLiteral("Name of the input field for later reference. It is mandatory to specify."),
      110);
  setEnterRule(name_, EnterRule::Advance);
  selectAllOnDoubleClick(name_);
  sizeSwitch_ = optionalNumber(
      input, "Label17", "Label26", QStringLiteral("Field size:"), "Edit16", QStringLiteral("15"), 2,
      QStringLiteral("Width of the input field. It is not mandatory to specify."), size_, this);
  maxLengthSwitch_ = optionalNumber(
      input, "Label20", "Label27", QStringLiteral("Max. lenght:"), "Edit18", QStringLiteral("255"),
      5, QStringLiteral("Maximum of characters that can be added. It is not mandatory to specify."),
      maxLength_, this);
  label(input, "Label18", QStringLiteral("Type:"));
  type_ = new QComboBox;
  type_->setObjectName(QStringLiteral("ComboBox1"));
  type_->addItems({QStringLiteral("text"), QStringLiteral("password")});
  type_->setCurrentIndex(0);
  type_->setFixedWidth(90);
  setHint(type_, QStringLiteral("Type of input field. It is mandatory to specify."));
  setEnterRule(type_, EnterRule::AdvanceAndConfirm);
  input->addWidget(type_);
  QPushButton* inputOk =
      okButton(input, "Button11", QStringLiteral("Insertion of the input field"));
  connect(inputOk, &QPushButton::clicked, this, &InputTabs::insertInputField);
  chainTabOrder({name_, size_, maxLength_, type_, inputOk});
  input->addStretch(1);

  QHBoxLayout* comment = row(commentPage);
  label(comment, "Label19", QStringLiteral("Comment:"));
  comment_ = lineEdit(comment, "Edit17", QString(),
                      QStringLiteral("The user may place texts that will only be legible in the "
                                     "source code of the WAP page.\nThey facilitate orientation "
                                     "in the source code, and they are not shown in the output."),
                      480);
  setEnterRule(comment_, EnterRule::AdvanceAndConfirm);
  selectAllOnDoubleClick(comment_);
  QPushButton* commentOk = okButton(comment, "Button10", QStringLiteral("Insertion of comments"));
  connect(commentOk, &QPushButton::clicked, this, &InputTabs::insertComment);
  chainTabOrder({comment_, commentOk});
  comment->addStretch(1);
}

void InputTabs::insertInputField() {
  // The input element leaves the "Name list" tab alone: nothing there
  // depends on it.
  InputFieldValues values{name_->text(), std::nullopt, std::nullopt, type_->currentText()};
  if (sizeSwitch_->isOn())
    values.size = size_->text();
  if (maxLengthSwitch_->isOn())
    values.maxLength = maxLength_->text();
  editor_->apply(inputElement(values));
}

void InputTabs::insertComment() { editor_->apply(commentElement(comment_->text())); }

void InputTabs::reset() {
  name_->setText(QStringLiteral("first"));
  size_->setText(QStringLiteral("15"));
  maxLength_->setText(QStringLiteral("255"));
  type_->setCurrentIndex(0);
  comment_->setText(QString());
}

} // namespace tessera
