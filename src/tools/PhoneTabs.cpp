#include "tools/PhoneTabs.h"

#include "editor/EditorView.h"
#include "platform/Hint.h"
#include "tools/FieldRules.h"
#include "tools/TelephonyBuilders.h"
#include "tools/ToolWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessera {

using namespace toolui;

static const QString kNumber = QStringLiteral("+3611234567");

PhoneTabs::PhoneTabs(QWidget* callPage, QWidget* nameListPage, EditorView* editor)
    : QObject(callPage), editor_(editor) {
  const QString textHint = QStringLiteral("Text of the button. It is mandatory to specify.");

  QHBoxLayout* call = row(callPage);
  label(call, "Label11", QStringLiteral("Button text:"));
  callText_ = ruledField(call, "Edit11", QStringLiteral("Call"), textHint, 150, EnterRule::Advance);
  label(call, "Label12", QStringLiteral("Phone number:"));
  callNumber_ = ruledField(call, "Edit12", kNumber,
                           QStringLiteral("Phone number to be called. It is mandatory to specify."),
                           130, EnterRule::AdvanceAndConfirm);
  QPushButton* callOk =
      okButton(call, "Button7", QStringLiteral("Insertion of the phone call button"));
  connect(callOk, &QPushButton::clicked, this, &PhoneTabs::insertPhoneCall);
  chainTabOrder({callText_, callNumber_, callOk});
  call->addStretch(1);

  QHBoxLayout* list = row(nameListPage);
  label(list, "Label21", QStringLiteral("Button text:"));
  listText_ = ruledField(list, "Edit19", QStringLiteral("Add to name list"), textHint, 130,
                         EnterRule::Advance);
  label(list, "Label22", QStringLiteral("Phone number:"));
  listNumber_ = ruledField(
      list, "Edit20", kNumber,
      QStringLiteral("Phone number to be added to the name list. It is mandatory to specify."), 110,
      EnterRule::Advance);
  const QString switchHint = QStringLiteral("Enable/Disable (User defined/None)");
  const auto [green, red] =
      switchLabels(list, "Label23", "Label25", QStringLiteral("Name:"), switchHint);
  name_ = ruledField(list, "Edit21", QStringLiteral("Adam"),
                     QStringLiteral("Name of the owner of the phone number to be added to the name "
                                    "list. It is not mandatory to specify."),
                     110, EnterRule::AdvanceAndConfirm);
  nameSwitch_ = new OptionalFieldSwitch(green, red, name_, true, this);
  QPushButton* listOk =
      okButton(list, "Button24", QStringLiteral("Insertion of the button \"Add to Name List\""));
  connect(listOk, &QPushButton::clicked, this, &PhoneTabs::insertNameList);
  chainTabOrder({listText_, listNumber_, name_, listOk});
  list->addStretch(1);
}

void PhoneTabs::insertPhoneCall() {
  editor_->apply(phoneCallLink(callNumber_->text(), callText_->text()));
}

void PhoneTabs::insertNameList() {
  std::optional<QString> name;
  if (nameSwitch_->isOn())
    name = name_->text();
  editor_->apply(nameListLink(listNumber_->text(), listText_->text(), name));
}

void PhoneTabs::reset() {
  callText_->setText(QStringLiteral("Call"));
  callNumber_->setText(kNumber);
  listText_->setText(QStringLiteral("Add to name list"));
  listNumber_->setText(kNumber);
  name_->setText(QStringLiteral("Adam"));
}

} // namespace tessera
