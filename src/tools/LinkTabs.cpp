#include "tools/LinkTabs.h"

#include "editor/EditorView.h"
#include "platform/Hint.h"
#include "tools/FieldRules.h"
#include "tools/LinkBuilders.h"
#include "tools/ToolWidgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessera {

using namespace toolui;

static const QString kHttp = QStringLiteral("http://");

LinkTabs::LinkTabs(QWidget* linkPage, QWidget* imagePage, QWidget* imageLinkPage,
                   EditorView* editor)
    : QObject(linkPage), editor_(editor) {
  buildLinkTab(linkPage);
  buildImageTab(imagePage);
  buildImageLinkTab(imageLinkPage);
}

void LinkTabs::buildLinkTab(QWidget* page) {
  QHBoxLayout* layout = row(page);
  label(layout, "Label2", QStringLiteral("Link URL:"));
  linkUrl_ = ruledField(
      layout, "Edit1", kHttp,
      QStringLiteral("Access path of the page to be loaded. It is mandatory to specify."), 180,
      EnterRule::Advance);
  label(layout, "Label10", QStringLiteral("Link text:"));
  linkText_ = ruledField(layout, "Edit10", QStringLiteral("Link"),
                         QStringLiteral("The text of the link. It is mandatory to specify."), 120,
                         EnterRule::Advance);

  const QString keyHint = QStringLiteral("Enable/Disable (User defined/None)");
  const auto [green, red] =
      switchLabels(layout, "Label28", "Label29", QStringLiteral("Access key:"), keyHint);
  accessKey_ = editableCombo(
      layout, "ComboBox3", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "*", "#"},
      QStringLiteral("A betöltendő oldal betöltődését elindító gyorsbillentyű. Megadása nem "
                     "kötelező."),
      50);
  accessKey_->setCurrentIndex(-1);
  setEnterRule(accessKey_, EnterRule::AdvanceAndConfirm);
  selectAllOnDoubleClick(accessKey_);
  accessKeySwitch_ = new OptionalFieldSwitch(green, red, accessKey_, false, this);

  QPushButton* ok = okButton(layout, "Button3", QStringLiteral("Insertion of the link "));
  connect(ok, &QPushButton::clicked, this, &LinkTabs::insertLink);
  chainTabOrder({linkUrl_, linkText_, accessKey_, ok});
  layout->addStretch(1);
}

void LinkTabs::buildImageTab(QWidget* page) {
  QHBoxLayout* layout = row(page);
  label(layout, "Label1", QStringLiteral("Image URL:"));
  imageUrl_ = ruledField(layout, "Edit2", kHttp,
                         QStringLiteral("Access path of the image. It is mandatory to specify."),
                         200, EnterRule::Advance);
  label(layout, "Label9", QStringLiteral("Image name:"));
  imageName_ =
      ruledField(layout, "Edit9", QStringLiteral("picture"),
                 QStringLiteral("Text substituting the image being loaded. This text is shown "
                                "until the image has been loaded. It is not mandatory to "
                                "specify."),
                 150, EnterRule::AdvanceAndConfirm);
  QPushButton* ok = okButton(layout, "Button4", QStringLiteral("Insertion of the image"));
  connect(ok, &QPushButton::clicked, this, &LinkTabs::insertImage);
  chainTabOrder({imageUrl_, imageName_, ok});
  layout->addStretch(1);
}

void LinkTabs::buildImageLinkTab(QWidget* page) {
  QHBoxLayout* layout = row(page);
  label(layout, "Label3", QStringLiteral("Image URL:"));
  linkedImageUrl_ =
      ruledField(layout, "Edit3", kHttp,
                 QStringLiteral("Access path of the image. It is mandatory to specify."), 200,
                 EnterRule::Advance);
  label(layout, "Label4", QStringLiteral("Link URL:"));
  imageLinkUrl_ = ruledField(
      layout, "Edit4", kHttp,
      QStringLiteral("Access path of the page to be loaded. It is mandatory to specify."), 200,
      EnterRule::AdvanceAndConfirm);
  QPushButton* ok = okButton(layout, "Button5", QStringLiteral("Insertion of the image link"));
  connect(ok, &QPushButton::clicked, this, &LinkTabs::insertImageLink);
  chainTabOrder({linkedImageUrl_, imageLinkUrl_, ok});
  layout->addStretch(1);
}

void LinkTabs::insertLink() {
  std::optional<QString> key;
  if (accessKeySwitch_->isOn())
    key = accessKey_->currentText();
  editor_->apply(linkElement(linkUrl_->text(), linkText_->text(), key));
}

void LinkTabs::insertImage() {
  editor_->apply(imageElement(imageUrl_->text(), imageName_->text()));
}

void LinkTabs::insertImageLink() {
  editor_->apply(imageLinkElement(linkedImageUrl_->text(), imageLinkUrl_->text()));
}

void LinkTabs::reset() {
  linkUrl_->setText(kHttp);
  linkText_->setText(QStringLiteral("Link"));
  accessKey_->setCurrentIndex(-1);
  accessKey_->setEditText(QString());
  imageUrl_->setText(kHttp);
  imageName_->setText(QStringLiteral("picture"));
  linkedImageUrl_->setText(kHttp);
  imageLinkUrl_->setText(kHttp);
}

} // namespace tessera
