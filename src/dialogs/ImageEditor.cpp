#include "dialogs/ImageEditor.h"

#include "dialogs/ElementBuilders.h"
#include "editor/EditorView.h"
#include "platform/Prompts.h"
#include "tools/LinkBuilders.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tessera {

namespace {

const QString kNameHint = QStringLiteral(
    "Text substituting the image being loaded. This text is shown until the image has been "
    "loaded. It is not mandatory to specify.");
const QString kImageUrlHint =
    QStringLiteral("Access path of the image. It is mandatory to specify.");

QLabel* bigLabel(const QString& text, const char* name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  QFont f = label->font();
  f.setPointSize(12);
  label->setFont(f);
  return label;
}

} // namespace

QStringList ImageEditor::imageFilters() {
  return {QStringLiteral("All Images (*.wbmp *.bmp *.jpg *.jpeg *.gif *.png)"),
          QStringLiteral("WBMP Images (*.wbmp)"), QStringLiteral("BMP Images (*.bmp)"),
          QStringLiteral("JPG Images (*.jpg)"), QStringLiteral("JPEG Images (*.jpeg)"),
          QStringLiteral("GIF Images (*.gif)"),
          // The file box reads the patterns from the brackets.
          QStringLiteral("PNG Images (*.png)"), QStringLiteral("All Files (*.*)")};
}

ImageEditor::ImageEditor(EditorView& editor, Prompts& prompts, QWidget* mainWindow)
    : ElementDialog(mainWindow), editor_(editor), prompts_(prompts) {
  setObjectName(QStringLiteral("TForm12"));
  setWindowTitle(QStringLiteral("Image Object and Image Link Editor"));

  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("PageControl1"));
  pages_->addTab(buildImagePage(), QStringLiteral("Image"));
  pages_->addTab(buildImageLinkPage(), QStringLiteral("Image Link"));
  pages_->setCurrentIndex(ImageLinkPage);

  auto* cancelButton =
      dialogButton(QStringLiteral("Cancel"), "BitBtn6", QStyle::SP_DialogCancelButton, this);
  connect(cancelButton, &QPushButton::clicked, this, &ImageEditor::cancel);

  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(cancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  alignFieldColumns();

  mirror(imageName_, linkImageName_);
  mirror(linkImageName_, imageName_);
  mirror(imageUrl_, linkImageUrl_);
  mirror(linkImageUrl_, imageUrl_);
}

QLineEdit* ImageEditor::makeField(QWidget* parent, const char* name, const QString& text,
                                  const QString& hint) {
  auto* field = new QLineEdit(text, parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setMinimumWidth(240);
  setStatusHint(field, hint);
  selectWholeFieldOnDoubleClick(field);
  return field;
}

// Each tab has its own "General settings" group with the image name, the
// image URL and a Browse button; only the control names differ.
QGroupBox* ImageEditor::buildGeneralGroup(QWidget* page, const GeneralNames& names,
                                          QLineEdit*& name, QLineEdit*& url) {
  auto* general = new QGroupBox(QStringLiteral("General settings"), page);
  general->setObjectName(QString::fromLatin1(names.group));
  name = makeField(general, names.nameField, kNameStart, kNameHint);
  url = makeField(general, names.urlField, kUrlStart, kImageUrlHint);

  auto* browse = dialogButton(QString(), names.browse, QStyle::SP_DirOpenIcon, general);
  setStatusHint(browse, QStringLiteral("Browse..."));
  connect(browse, &QPushButton::clicked, this, &ImageEditor::browse);

  auto* grid = new QGridLayout(general);
  grid->addWidget(bigLabel(QStringLiteral("Image name:"), names.nameLabel, general), 0, 0);
  grid->addWidget(name, 0, 1);
  grid->addWidget(bigLabel(QStringLiteral("Image URL:"), names.urlLabel, general), 1, 0);
  grid->addWidget(url, 1, 1);
  grid->addWidget(browse, 1, 2);
  return general;
}

QPushButton* ImageEditor::makeInsertButton(QWidget* page, const char* name, const QString& hint,
                                           void (ImageEditor::*insert)()) {
  auto* button = dialogButton(QStringLiteral("Insert"), name, QStyle::SP_DialogApplyButton, page);
  setStatusHint(button, hint);
  connect(button, &QPushButton::clicked, this, insert);
  return button;
}

QWidget* ImageEditor::buildImagePage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TabSheet1"));
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(buildGeneralGroup(
      page, {"GroupBox1", "Label4", "Edit3", "Label5", "Edit4", "BitBtn4"}, imageName_, imageUrl_));
  layout->addStretch(1);
  layout->addWidget(makeInsertButton(page, "BitBtn7", QStringLiteral("Insertion of the image"),
                                     &ImageEditor::insertImage),
                    0, Qt::AlignRight);
  return page;
}

QWidget* ImageEditor::buildImageLinkPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TabSheet2"));
  QGroupBox* general =
      buildGeneralGroup(page, {"GroupBox2", "Label1", "Edit1", "Label2", "Edit2", "BitBtn1"},
                        linkImageName_, linkImageUrl_);

  auto* link = new QGroupBox(QStringLiteral("Link settings"), page);
  link->setObjectName(QStringLiteral("GroupBox3"));
  linkUrlBox_ = new QComboBox(link);
  linkUrlBox_->setObjectName(QStringLiteral("ComboBox1"));
  linkUrlBox_->setEditable(true);
  linkUrlBox_->setInsertPolicy(QComboBox::NoInsert); // only Insert adds to the history
  linkUrlBox_->setEditText(kUrlStart);
  setStatusHint(
      linkUrlBox_,
      QStringLiteral("Access path of the page to be loaded. It is mandatory to specify."));
  selectWholeFieldOnDoubleClick(linkUrlBox_->lineEdit());
  auto* linkGrid = new QGridLayout(link);
  linkGrid->addWidget(bigLabel(QStringLiteral("Link URL:"), "Label3", link), 0, 0);
  linkGrid->addWidget(linkUrlBox_, 0, 1);
  linkGrid->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(general);
  layout->addWidget(link);
  layout->addWidget(makeInsertButton(page, "BitBtn5", QStringLiteral("Insertion of the image link"),
                                     &ImageEditor::insertImageLink),
                    0, Qt::AlignRight);
  return page;
}

// The labels of all groups share one column width, so every field starts
// at the same place, on both tabs.
void ImageEditor::alignFieldColumns() {
  int widest = 0;
  for (const QLabel* label : findChildren<QLabel*>())
    widest = qMax(widest, label->sizeHint().width());
  for (QGridLayout* grid : findChildren<QGridLayout*>())
    grid->setColumnMinimumWidth(0, widest);
}

// Each field copies its text to its twin, which writes only when the text
// differs, so the copying stops after one step.
void ImageEditor::mirror(QLineEdit* from, QLineEdit* to) {
  connect(from, &QLineEdit::textChanged, to, [to](const QString& text) {
    if (to->text() != text)
      to->setText(text);
  });
}

QStringList ImageEditor::linkUrlHistory() const {
  QStringList items;
  for (int i = 0; i < linkUrlBox_->count(); ++i)
    items << linkUrlBox_->itemText(i);
  return items;
}

void ImageEditor::browse() {
  FileDialogRequest request;
  request.filters = imageFilters();
  const QString chosen = prompts_.openFileName(this, request);
  if (!chosen.isEmpty())
    linkImageUrl_->setText(chosen);
}

void ImageEditor::insertImage() {
  insertFromDialog(editor_, imageElement(imageUrl_->text(), imageName_->text()));
  cancel();
}

void ImageEditor::insertImageLink() {
  const QString linkUrl = linkUrlBox_->currentText();
  insertFromDialog(editor_,
                   imageWithAltLinkElement(linkUrl, linkImageUrl_->text(), linkImageName_->text()));
  rememberUrl(linkUrlBox_, linkUrl);
  cancel();
}

void ImageEditor::cancel() {
  done(QDialog::Rejected);
  linkImageName_->setText(kNameStart);
  linkImageUrl_->setText(kUrlStart);
  linkUrlBox_->setEditText(kUrlStart);
}

} // namespace tessera
