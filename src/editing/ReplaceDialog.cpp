#include "editing/ReplaceDialog.h"

#include "editing/SearchOptions.h"
#include "platform/PlainButton.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessera {

namespace {
QLineEdit* field(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaxLength(ReplaceDialog::kMaxTextLength);
  edit->setMinimumWidth(220);
  return edit;
}
} // namespace

ReplaceDialog::ReplaceDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ReplaceDialog1"));
  setWindowTitle(QStringLiteral("Replace"));
  setModal(false);

  auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
  findEdit_ = field("findWhatEdit", this);
  findLabel->setBuddy(findEdit_);
  auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
  replaceEdit_ = field("replaceWithEdit", this);
  replaceLabel->setBuddy(replaceEdit_);

  findNext_ = plainButton(QStringLiteral("&Find Next"), QStringLiteral("findNextButton"), this);
  findNext_->setDefault(true);
  replace_ = plainButton(QStringLiteral("&Replace"), QStringLiteral("replaceButton"), this);
  replaceAll_ =
      plainButton(QStringLiteral("Replace &All"), QStringLiteral("replaceAllButton"), this);
  cancel_ = plainButton(QStringLiteral("Cancel"), QStringLiteral("cancelButton"), this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(findLabel, 0, 0);
  grid->addWidget(findEdit_, 0, 1);
  grid->addWidget(findNext_, 0, 2);
  grid->addWidget(replaceLabel, 1, 0);
  grid->addWidget(replaceEdit_, 1, 1);
  grid->addWidget(replace_, 1, 2);
  grid->addWidget(replaceAll_, 2, 2);
  grid->addWidget(addWholeWordBox(this), 3, 0, 1, 2);
  grid->addWidget(cancel_, 3, 2);
  grid->addWidget(addMatchCaseBox(this), 4, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  setFixedSize(sizeHint());

  connect(findEdit_, &QLineEdit::textChanged, this, &ReplaceDialog::updateButtons);
  connect(findNext_, &QPushButton::clicked, this, [this] { emit findNext(findText()); });
  connect(replace_, &QPushButton::clicked, this,
          [this] { emit replace(findText(), replaceText()); });
  connect(replaceAll_, &QPushButton::clicked, this,
          [this] { emit replaceAll(findText(), replaceText()); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  updateButtons();
}

QString ReplaceDialog::findText() const { return findEdit_->text(); }

QString ReplaceDialog::replaceText() const { return replaceEdit_->text(); }

void ReplaceDialog::updateButtons() {
  // Nothing to look for: nothing to press.
  const bool any = !findEdit_->text().isEmpty();
  findNext_->setEnabled(any);
  replace_->setEnabled(any);
  replaceAll_->setEnabled(any);
}

void ReplaceDialog::showBox() { showSearchBox(this, findEdit_); }

} // namespace tessera
