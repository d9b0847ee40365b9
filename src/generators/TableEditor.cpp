#include "generators/TableEditor.h"

#include "editor/EditorView.h"
#include "generators/GeneratorTexts.h"
#include "generators/TablePreview.h"
#include "platform/Product.h"
#include "platform/Prompts.h"

#include <QButtonGroup>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace tessera {

namespace {
const QStringList kRowItems = {QStringLiteral("1 row"), QStringLiteral("2 rows"),
                               QStringLiteral("3 rows"), QStringLiteral("4 rows")};
const QRect kStepOneArea(8, 8, 212, 132);
const QRect kStepTwoArea(229, 8, 212, 132);
const QRect kBottomButton(0, 383, 141, 32);
} // namespace

TableEditor::TableEditor(EditorView& editor, Prompts& prompts, QWidget* parent)
    : GeneratorDialog(QStringLiteral("TForm8"), QStringLiteral("Table Editor"), QSize(449, 425),
                      parent),
      editor_(editor), prompts_(prompts), previewFolder_(defaultPreviewFolder()) {
  buildStepOne();
  buildStepTwo();
  buildPreviewAndButtons();
  retry();
}

void TableEditor::buildStepOne() {
  columnsGroup_ = RadioGroup::make(this, QStringLiteral("RadioGroup1"),
                                   QStringLiteral("1. step - Number of columns"),
                                   {QStringLiteral("1 column"), QStringLiteral("2 columns"),
                                    QStringLiteral("3 columns"), QStringLiteral("4 columns")},
                                   kStepOneArea);
  columnsReadyButton_ = makeButton(QStringLiteral("BitBtn1"), QStringLiteral("Columns ready"),
                                   QRect(kStepOneArea.left(), 146, kStepOneArea.width(), 30));
  connect(columnsReadyButton_, &QPushButton::clicked, this, &TableEditor::columnsReady);
}

void TableEditor::buildStepTwo() {
  // The four step-2 groups lie on top of one another; one is shown at a time.
  for (int c = 1; c <= 4; ++c) {
    const QString caption = c == 4 ? QStringLiteral("2. step - Number of rows")
                                   : QStringLiteral("2. step - Row number");
    rowGroups_[c - 1] =
        RadioGroup::make(this, QStringLiteral("Oszlop%1").arg(c), caption, kRowItems, kStepTwoArea);
  }
  const QRect rowsReadyPlace(kStepTwoArea.left(), 146, kStepTwoArea.width(), 30);
  rowsReadyOneColumn_ =
      makeButton(QStringLiteral("BitBtn2"), QStringLiteral("Rows ready"), rowsReadyPlace);
  rowsReadyMoreColumns_ =
      makeButton(QStringLiteral("TobbiOszlop1"), QStringLiteral("Rows ready"), rowsReadyPlace);
  connect(rowsReadyOneColumn_, &QPushButton::clicked, this, &TableEditor::rowsReadyOneColumn);
  connect(rowsReadyMoreColumns_, &QPushButton::clicked, this, &TableEditor::rowsReadyMoreColumns);
}

void TableEditor::buildPreviewAndButtons() {
  previewFrame_ = new QGroupBox(QStringLiteral("Preview"), this);
  previewFrame_->setObjectName(QStringLiteral("GroupBox1"));
  previewFrame_->setGeometry(8, 186, 433, 187);
  preview_ = new QLabel(previewFrame_);
  preview_->setObjectName(QStringLiteral("Image1"));
  preview_->setAlignment(Qt::AlignCenter);
  preview_->setGeometry((433 - kPreviewWidth) / 2, 28, kPreviewWidth, kPreviewHeight);

  // The Insert buttons share one place: the disabled placeholder until a
  // shape is confirmed, then the one for that shape.
  const QRect insertPlace = kBottomButton.translated(8, 0);
  insertPlaceholder_ = makeButton(QStringLiteral("BitBtn6"), QStringLiteral("Insert"), insertPlace);
  insertPlaceholder_->setEnabled(false);
  insertOneColumn_ = makeButton(QStringLiteral("BitBtn4"), QStringLiteral("Insert"), insertPlace);
  connect(insertOneColumn_, &QPushButton::clicked, this, [this] { insertTable(oneColumnText_); });
  const char* const prefixes[] = {"KetX", "HaromX", "NegyX"};
  for (int c = 2; c <= 4; ++c) {
    for (int r = 1; r <= 4; ++r) {
      QPushButton* button = makeButton(QString::fromLatin1(prefixes[c - 2]) + QString::number(r),
                                       QStringLiteral("Insert"), insertPlace);
      connect(button, &QPushButton::clicked, this, [this, c, r] { insertTable(tableText(c, r)); });
      insertButtons_[c - 2][r - 1] = button;
    }
  }
  retryButton_ = makeButton(QStringLiteral("BitBtn5"), QStringLiteral("Retry"),
                            kBottomButton.translated(154, 0));
  cancelButton_ = makeButton(QStringLiteral("BitBtn3"), QStringLiteral("Cancel"),
                             kBottomButton.translated(300, 0));
  connect(retryButton_, &QPushButton::clicked, this, &TableEditor::retry);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

QPushButton* TableEditor::insertButton(int columns, int rows) const {
  if (columns == 1)
    return insertOneColumn_;
  return insertButtons_[columns - 2][rows - 1];
}

void TableEditor::columnsReady() {
  const int columns = columnsGroup_.chosen();
  for (int c = 1; c <= 4; ++c)
    rowGroups_[c - 1].box->setVisible(c == columns);
  if (columns == 1) {
    rowGroups_[0].box->setEnabled(true);
    rowsReadyOneColumn_->setEnabled(true);
  } else {
    rowGroups_[columns - 1].box->setEnabled(true);
    rowGroups_[columns - 1].clear();
    rowsReadyOneColumn_->hide();
    rowsReadyMoreColumns_->setEnabled(true);
    rowsReadyMoreColumns_->show();
  }
  columnsGroup_.box->setEnabled(false);
  columnsReadyButton_->setEnabled(false);
}

void TableEditor::askToSelect() {
  prompts_.beep();
  prompts_.message(this, QMessageBox::NoIcon, kProgramTitle, QStringLiteral("Please select!"),
                   QMessageBox::Ok);
}

// Loads and shows the preview of the shape; on failure reports the file
// error and leaves the window as it was.
bool TableEditor::showPreview(int columns, int rows) {
  const LoadedPreview loaded =
      loadPreview(QDir(previewFolder_).filePath(tablePreviewFileName(columns, rows)));
  if (!loaded.ok()) {
    prompts_.error(this, loaded.errorText);
    return false;
  }
  preview_->setPixmap(QPixmap::fromImage(loaded.image));
  return true;
}

void TableEditor::rowsReadyOneColumn() {
  const int rows = rowGroups_[0].chosen();
  if (rows == 0) {
    askToSelect();
    return;
  }
  oneColumnText_ = tableText(1, rows);
  if (!showPreview(1, rows))
    return;
  insertPlaceholder_->hide();
  preview_->show();
  insertOneColumn_->show();
  rowsReadyOneColumn_->setEnabled(false);
  rowGroups_[0].box->setEnabled(false);
}

void TableEditor::rowsReadyMoreColumns() {
  for (int c = 2; c <= 4; ++c) {
    const RadioGroup& group = rowGroups_[c - 1];
    if (const int rows = group.chosen()) {
      if (!showPreview(c, rows))
        return;
      insertPlaceholder_->hide();
      insertButtons_[c - 2][rows - 1]->show();
    } else if (!group.box->isHidden()) {
      askToSelect();
      return;
    }
  }
  preview_->show();
  for (RadioGroup& group : rowGroups_)
    group.box->setEnabled(false);
  rowsReadyMoreColumns_->setEnabled(false);
}

void TableEditor::insertTable(const QString& text) {
  editor_.apply(Insertion{text});
  accept();
}

void TableEditor::retry() {
  preview_->hide();
  for (int c = 1; c <= 4; ++c) {
    RadioGroup& group = rowGroups_[c - 1];
    group.box->setVisible(c == 1);
    group.box->setEnabled(c != 1);
    group.clear();
  }
  rowsReadyMoreColumns_->hide();
  rowsReadyMoreColumns_->setEnabled(true);
  rowsReadyOneColumn_->show();
  rowsReadyOneColumn_->setEnabled(false);
  columnsGroup_.box->setEnabled(true);
  columnsGroup_.choose(1);
  columnsReadyButton_->setEnabled(true);
  insertOneColumn_->hide();
  for (auto& row : insertButtons_)
    for (QPushButton* button : row)
      button->hide();
  insertPlaceholder_->show();
}

} // namespace tessera
