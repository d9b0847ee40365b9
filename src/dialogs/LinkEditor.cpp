#include "dialogs/LinkEditor.h"

#include "editor/EditorView.h"
#include "tools/LinkBuilders.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tessera {

namespace {

QFont labelFont(const QWidget* w) {
  QFont f = w->font();
  f.setPointSize(12);
  return f;
}

} // namespace

LinkEditor::LinkEditor(EditorView& editor, QWidget* mainWindow)
    : ElementDialog(mainWindow), editor_(editor) {
  setObjectName(QStringLiteral("TForm11"));
  setWindowTitle(QStringLiteral("Link Editor"));

  auto* group = new QGroupBox(QStringLiteral("Link"), this);
  group->setObjectName(QStringLiteral("GroupBox1"));
  auto* urlLabel = new QLabel(QStringLiteral("Link URL:"), group);
  urlLabel->setObjectName(QStringLiteral("Label1"));
  urlLabel->setFont(labelFont(this));

  urlBox_ = new QComboBox(group);
  urlBox_->setObjectName(QStringLiteral("ComboBox1"));
  urlBox_->setEditable(true);
  urlBox_->setInsertPolicy(QComboBox::NoInsert); // only OK adds to the history
  urlBox_->setMinimumWidth(280);
  setStatusHint(
      urlBox_, QStringLiteral("Access path of the page to be loaded. It is mandatory to specify."));

  const QString keyHint = QStringLiteral("Enable/Disable (User defined/None)");
  keyOnLabel_ = new SwitchLabel(QStringLiteral("Access key:"), QColor(0, 128, 0), group);
  keyOnLabel_->setObjectName(QStringLiteral("Label2"));
  keyOffLabel_ = new SwitchLabel(QStringLiteral("Access key:"), QColor(Qt::red), group);
  keyOffLabel_->setObjectName(QStringLiteral("Label3"));
  for (SwitchLabel* label : {keyOnLabel_, keyOffLabel_}) {
    label->setFont(labelFont(this));
    setStatusHint(label, keyHint);
    connect(label, &SwitchLabel::clicked, this, &LinkEditor::toggleAccessKey);
  }

  accessKeyBox_ = new QComboBox(group);
  accessKeyBox_->setObjectName(QStringLiteral("ComboBox2"));
  accessKeyBox_->setEditable(true);
  accessKeyBox_->setInsertPolicy(QComboBox::NoInsert);
  accessKeyBox_->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                           QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                           QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"),
                           QStringLiteral("0"), QStringLiteral("*"), QStringLiteral("#")});
  // One character, but the box must not look like a stub beside the URL.
  accessKeyBox_->setMinimumWidth(70);
  setStatusHint(accessKeyBox_,
                QStringLiteral("Shortcut key launching the load of the respective page. It is not "
                               "mandatory to specify."));

  auto* grid = new QGridLayout(group);
  grid->addWidget(urlLabel, 0, 0);
  grid->addWidget(urlBox_, 0, 1, 1, 2);
  grid->addWidget(keyOnLabel_, 1, 0);
  grid->addWidget(keyOffLabel_, 1, 0);
  grid->addWidget(accessKeyBox_, 1, 1);
  grid->setColumnStretch(2, 1);

  auto* okButton = dialogButton(QStringLiteral("OK"), "BitBtn1", QStyle::SP_DialogOkButton, this);
  auto* cancelButton =
      dialogButton(QStringLiteral("Cancel"), "BitBtn2", QStyle::SP_DialogCancelButton, this);
  connect(okButton, &QPushButton::clicked, this, &LinkEditor::ok);
  connect(cancelButton, &QPushButton::clicked, this, &LinkEditor::cancel);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(okButton);
  buttons->addWidget(cancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(urlBox_, accessKeyBox_);
  setTabOrder(accessKeyBox_, okButton);
  setTabOrder(okButton, cancelButton);
  resetFields();
}

bool LinkEditor::accessKeyOn() const { return accessKeyBox_->isEnabled(); }

QStringList LinkEditor::urlHistory() const {
  QStringList items;
  for (int i = 0; i < urlBox_->count(); ++i)
    items << urlBox_->itemText(i);
  return items;
}

void LinkEditor::toggleAccessKey() { setAccessKeyOn(!accessKeyOn()); }

// The key's text stays whichever way the switch goes.
void LinkEditor::setAccessKeyOn(bool on) {
  accessKeyBox_->setEnabled(on);
  keyOnLabel_->setVisible(on);
  keyOffLabel_->setVisible(!on);
}

void LinkEditor::ok() {
  const QString url = urlBox_->currentText();
  const std::optional<QString> key =
      accessKeyOn() ? std::optional<QString>(accessKeyBox_->currentText()) : std::nullopt;
  insertFromDialog(editor_, linkElement(url, editor_.selectedText(), key));
  rememberUrl(urlBox_, url);
  cancel();
}

void LinkEditor::cancel() { done(QDialog::Rejected); }

void LinkEditor::done(int result) {
  QDialog::done(result);
  resetFields();
}

void LinkEditor::resetFields() {
  setAccessKeyOn(false);
  urlBox_->setEditText(kUrlStart);
  accessKeyBox_->setEditText(QString());
  urlBox_->setFocus(Qt::OtherFocusReason);
}

} // namespace tessera
