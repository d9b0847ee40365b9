#include "generators/DropDownMenuEditor.h"

#include "editor/EditorView.h"
#include "generators/GeneratorTexts.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tessera {

namespace {
// Layout names of each item's name and link fields, items 1 to 4.
const char* const kNameFields[] = {"Edit2", "Edit5", "Edit7", "Edit9"};
const char* const kLinkFields[] = {"Edit3", "Edit4", "Edit6", "Edit8"};
const QString kDefaultLink = QStringLiteral("http://");

QString defaultItemName(int item) { return QStringLiteral("Menu item %1").arg(item); }
} // namespace

DropDownMenuEditor::DropDownMenuEditor(EditorView& editor, QWidget* parent)
    : GeneratorDialog(QStringLiteral("TForm7"), QStringLiteral("Drop-down Menu Editor"),
                      QSize(626, 625), parent),
      editor_(editor) {
  buildSetup();
  buildItems();
  buildSource();
  buildFocusOrder();
  retry();
}

void DropDownMenuEditor::buildSetup() {
  countGroup_ = RadioGroup::make(this, QStringLiteral("RadioGroup1"),
                                 QStringLiteral("1. step - Number of menu items"),
                                 {QStringLiteral("One"), QStringLiteral("Two"),
                                  QStringLiteral("Three"), QStringLiteral("Four")},
                                 QRect(8, 8, 200, 134));

  auto* nameFrame = new QGroupBox(QStringLiteral("2. step - Drop-down menu name"), this);
  nameFrame->setObjectName(QStringLiteral("GroupBox1"));
  nameFrame->setGeometry(216, 8, 402, 64);
  menuName_ = new QLineEdit(nameFrame);
  menuName_->setObjectName(QStringLiteral("Edit1"));
  menuName_->setGeometry(12, 26, 378, 24);
  enterMovesFocus(menuName_);

  auto* confirmFrame = new QGroupBox(QStringLiteral("3. step - Confirmation"), this);
  confirmFrame->setObjectName(QStringLiteral("GroupBox2"));
  confirmFrame->setGeometry(216, 78, 402, 64);
  readyButton_ = makeButton(QStringLiteral("Button1"), QStringLiteral("I am ready!"),
                            QRect(12, 24, 378, 30), confirmFrame);
  connect(readyButton_, &QPushButton::clicked, this, &DropDownMenuEditor::confirmSetup);
}

void DropDownMenuEditor::buildItems() {
  for (int k = 0; k < 4; ++k) {
    ItemFields& item = items_[k];
    const QRect place(k % 2 == 0 ? 8 : 317, k < 2 ? 150 : 264, 301, 106);
    item.frame = new QGroupBox(defaultItemName(k + 1), this);
    item.frame->setObjectName(QStringLiteral("GroupBox%1").arg(k + 3));
    item.frame->setGeometry(place);
    item.nameLabel = new QLabel(QStringLiteral("Name of menu item:"), item.frame);
    item.nameLabel->setObjectName(QStringLiteral("Label%1").arg(2 * k + 1));
    item.nameLabel->setGeometry(12, 20, 277, 18);
    item.name = new QLineEdit(item.frame);
    item.name->setObjectName(QString::fromLatin1(kNameFields[k]));
    item.name->setGeometry(12, 38, 277, 24);
    item.linkLabel = new QLabel(QStringLiteral("Link:"), item.frame);
    item.linkLabel->setObjectName(QStringLiteral("Label%1").arg(2 * k + 2));
    item.linkLabel->setGeometry(12, 62, 277, 18);
    item.link = new QLineEdit(item.frame);
    item.link->setObjectName(QString::fromLatin1(kLinkFields[k]));
    item.link->setGeometry(12, 78, 277, 24);
    item.nameLabel->setBuddy(item.name);
    item.linkLabel->setBuddy(item.link);
    enterMovesFocus(item.name);
    enterMovesFocus(item.link);
  }
}

void DropDownMenuEditor::buildSource() {
  // The four generate buttons and their placeholder share one place, as do
  // the two Insert buttons.
  const QRect generatePlace(8, 378, 610, 30);
  for (int n = 1; n <= 4; ++n) {
    generateButtons_[n - 1] = makeButton(QStringLiteral("BitBtn%1").arg(n + 1),
                                         QStringLiteral("Sourcecode generating"), generatePlace);
    connect(generateButtons_[n - 1], &QPushButton::clicked, this,
            &DropDownMenuEditor::generateSource);
  }
  generatePlaceholder_ =
      makeButton(QStringLiteral("BitBtn8"), QStringLiteral("Sourcecode generating"), generatePlace);
  generatePlaceholder_->setEnabled(false);

  sourceFrame_ = new QGroupBox(QStringLiteral("Sourcecode"), this);
  sourceFrame_->setObjectName(QStringLiteral("GroupBox7"));
  sourceFrame_->setGeometry(8, 414, 610, 163);
  source_ = new QPlainTextEdit(sourceFrame_);
  source_->setObjectName(QStringLiteral("Memo1"));
  source_->setGeometry(12, 22, 586, 131);
  source_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  source_->setLineWrapMode(QPlainTextEdit::NoWrap);
  source_->setTabChangesFocus(true);

  const QRect bottom(0, 585, 194, 32);
  insertButton_ =
      makeButton(QStringLiteral("BitBtn7"), QStringLiteral("Insert"), bottom.translated(8, 0));
  insertPlaceholder_ =
      makeButton(QStringLiteral("BitBtn9"), QStringLiteral("Insert"), bottom.translated(8, 0));
  insertPlaceholder_->setEnabled(false);
  retryButton_ =
      makeButton(QStringLiteral("BitBtn1"), QStringLiteral("Retry"), bottom.translated(216, 0));
  cancelButton_ =
      makeButton(QStringLiteral("BitBtn6"), QStringLiteral("Cancel"), bottom.translated(424, 0));
  connect(insertButton_, &QPushButton::clicked, this, &DropDownMenuEditor::insertSource);
  connect(retryButton_, &QPushButton::clicked, this, &DropDownMenuEditor::retry);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void DropDownMenuEditor::buildFocusOrder() {
  QList<QWidget*> order;
  for (QAbstractButton* radio : countGroup_.buttons->buttons())
    order << radio;
  order << menuName_ << readyButton_;
  for (const ItemFields& item : items_)
    order << item.name << item.link;
  for (QPushButton* button : generateButtons_)
    order << button;
  order << generatePlaceholder_ << retryButton_ << source_ << cancelButton_ << insertButton_
        << insertPlaceholder_;
  for (int i = 1; i < order.size(); ++i)
    setTabOrder(order.at(i - 1), order.at(i));
}

void DropDownMenuEditor::confirmSetup() {
  countGroup_.box->setEnabled(false);
  menuName_->setEnabled(false);
  readyButton_->setEnabled(false);
  retryButton_->show();
  generatePlaceholder_->hide();
  const int n = itemCount();
  for (int k = 0; k < n; ++k)
    items_[k].frame->show();
  generateButtons_[n - 1]->show();
}

void DropDownMenuEditor::generateSource() {
  const int n = itemCount();
  QList<MenuItem> chosen;
  for (int k = 0; k < n; ++k)
    chosen.append({items_[k].name->text(), items_[k].link->text()});
  insertPlaceholder_->hide();
  // The field keeps its lines apart by itself; CR LF comes back in sourceText().
  source_->clear();
  source_->setPlainText(selectListText(menuName_->text(), chosen)
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  sourceFrame_->show();
  insertButton_->show();
  for (ItemFields& item : items_)
    for (QWidget* w : {static_cast<QWidget*>(item.nameLabel), static_cast<QWidget*>(item.name),
                       static_cast<QWidget*>(item.linkLabel), static_cast<QWidget*>(item.link)})
      w->setEnabled(false);
  for (QPushButton* button : generateButtons_)
    button->setEnabled(false);
}

QString DropDownMenuEditor::sourceText() const {
  return source_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void DropDownMenuEditor::insertSource() {
  editor_.apply(Insertion{sourceText()});
  accept();
}

void DropDownMenuEditor::retry() {
  countGroup_.box->setEnabled(true);
  menuName_->setEnabled(true);
  readyButton_->setEnabled(true);
  for (QPushButton* button : generateButtons_)
    button->hide();
  for (ItemFields& item : items_)
    item.frame->hide();
  countGroup_.choose(1);
  menuName_->setText(QStringLiteral("Menu"));
  for (int k = 0; k < 4; ++k) {
    items_[k].name->setText(defaultItemName(k + 1));
    items_[k].link->setText(kDefaultLink);
  }
  source_->clear();
  sourceFrame_->hide();
  insertButton_->hide();
  for (ItemFields& item : items_)
    for (QWidget* w : {static_cast<QWidget*>(item.nameLabel), static_cast<QWidget*>(item.name),
                       static_cast<QWidget*>(item.linkLabel), static_cast<QWidget*>(item.link)})
      w->setEnabled(true);
  for (QPushButton* button : generateButtons_)
    button->setEnabled(true);
  generatePlaceholder_->show();
  insertPlaceholder_->show();
}

} // namespace tessera
