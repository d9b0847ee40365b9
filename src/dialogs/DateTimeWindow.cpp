#include "dialogs/DateTimeWindow.h"

#include "dialogs/DateTimeRenderings.h"
#include "editor/EditorView.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tessera {

DateTimeWindow::DateTimeWindow(EditorView& editor, QWidget* mainWindow)
    : ElementDialog(mainWindow), editor_(editor) {
  setObjectName(QStringLiteral("TForm13"));
  setWindowTitle(QStringLiteral("Date and Time"));

  auto* insertButton =
      dialogButton(QStringLiteral("Insert"), "BitBtn1", QStyle::SP_DialogApplyButton, this);
  auto* cancelButton =
      dialogButton(QStringLiteral("Cancel"), "BitBtn2", QStyle::SP_DialogCancelButton, this);
  connect(insertButton, &QPushButton::clicked, this, &DateTimeWindow::insertChosen);
  connect(cancelButton, &QPushButton::clicked, this, &DateTimeWindow::cancel);

  auto* group = new QGroupBox(this);
  group->setObjectName(QStringLiteral("GroupBox1"));
  auto* label = new QLabel(QStringLiteral("Formats:"), group);
  label->setObjectName(QStringLiteral("Label1"));
  list_ = new QListWidget(group);
  list_->setObjectName(QStringLiteral("ListBox1"));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  label->setBuddy(list_);
  connect(list_, &QListWidget::itemDoubleClicked, this, &DateTimeWindow::insertChosen);

  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(label);
  groupLayout->addWidget(list_);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(insertButton);
  buttons->addWidget(cancelButton);
  buttons->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(insertButton, cancelButton);
  setTabOrder(cancelButton, list_);

  refresh();
  list_->setCurrentRow(0);
}

void DateTimeWindow::refresh() {
  const int chosen = list_->currentRow();
  list_->clear();
  list_->addItems(dateTimeRenderings(clock_(), locale_));
  // Every rendering shows at once, whatever the font: none needs scrolling.
  const int frame = 2 * list_->frameWidth();
  list_->setMinimumSize(qMax(260, list_->sizeHintForColumn(0) + frame + 16),
                        list_->sizeHintForRow(0) * list_->count() + frame);
  list_->setCurrentRow(chosen < 0 ? 0 : chosen);
}

int DateTimeWindow::exec() {
  refresh();
  return ElementDialog::exec();
}

void DateTimeWindow::insertChosen() {
  if (const QListWidgetItem* item = list_->currentItem())
    insertFromDialog(editor_, Insertion{item->text(), 0, false});
  done(QDialog::Accepted);
}

void DateTimeWindow::cancel() { done(QDialog::Rejected); }

} // namespace tessera
