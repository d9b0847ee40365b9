#include "editing/FindDialog.h"

#include "editing/SearchOptions.h"
#include "platform/PlainButton.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tessera {

FindDialog::FindDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FindDialog1"));
  setWindowTitle(QStringLiteral("Find"));
  setModal(false);

  auto* label = new QLabel(QStringLiteral("Fi&nd what:"), this);
  findEdit_ = new QLineEdit(this);
  findEdit_->setObjectName(QStringLiteral("findWhatEdit"));
  findEdit_->setMaxLength(kMaxTextLength);
  findEdit_->setMinimumWidth(220);
  label->setBuddy(findEdit_);

  findNext_ = new QPushButton(QStringLiteral("&Find Next"), this);
  findNext_->setObjectName(QStringLiteral("findNextButton"));
  findNext_->setDefault(true);
  cancel_ = plainButton(QStringLiteral("Cancel"), QStringLiteral("cancelButton"), this);

  // The search always runs down the text.
  auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
  direction->setObjectName(QStringLiteral("directionGroup"));
  auto* up = new QRadioButton(QStringLiteral("&Up"), direction);
  up->setObjectName(QStringLiteral("upRadio"));
  auto* down = new QRadioButton(QStringLiteral("&Down"), direction);
  down->setObjectName(QStringLiteral("downRadio"));
  down->setChecked(true);
  auto* directionLayout = new QHBoxLayout(direction);
  directionLayout->addWidget(up);
  directionLayout->addWidget(down);
  direction->setEnabled(false);

  auto* grid = new QGridLayout(this);
  grid->addWidget(label, 0, 0);
  grid->addWidget(findEdit_, 0, 1, 1, 2);
  grid->addWidget(findNext_, 0, 3);
  grid->addWidget(addWholeWordBox(this), 1, 0, 1, 2);
  grid->addWidget(direction, 1, 2, 2, 1);
  grid->addWidget(cancel_, 1, 3);
  grid->addWidget(addMatchCaseBox(this), 2, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(3, 1);
  setFixedSize(sizeHint());

  connect(findEdit_, &QLineEdit::textChanged, this, &FindDialog::updateButtons);
  connect(findNext_, &QPushButton::clicked, this, [this] { emit findNext(findText()); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  updateButtons();
}

QString FindDialog::findText() const { return findEdit_->text(); }

void FindDialog::updateButtons() { findNext_->setEnabled(!findEdit_->text().isEmpty()); }

void FindDialog::showBox() { showSearchBox(this, findEdit_); }

} // namespace tessera
