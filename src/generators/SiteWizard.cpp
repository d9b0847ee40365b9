#include "generators/SiteWizard.h"

#include "document/DocumentFiles.h"
#include "document/FileCodec.h"
#include "platform/Prompts.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tessera {

namespace {
constexpr int kFrameLeft = 8;
constexpr int kFrameWidth = 433;
constexpr int kInnerLeft = 12;
constexpr int kInnerWidth = kFrameWidth - 2 * kInnerLeft;
} // namespace

SiteWizard::SiteWizard(Prompts& prompts, QWidget* parent)
    : GeneratorDialog(QStringLiteral("TForm6"), QStringLiteral("Site Wizard"), QSize(449, 452),
                      parent),
      prompts_(prompts) {
  siteName_ = addField(1, QStringLiteral("1. step - Site name"),
                       QStringLiteral("Type here the wap site name:"), 8);
  siteName_->setMaxLength(kMaxSiteNameLength);
  auto* tip =
      new QLabel(QStringLiteral("Tip: Do not use special characters"), siteName_->parentWidget());
  tip->setObjectName(QStringLiteral("Label5"));
  tip->setAlignment(Qt::AlignCenter);
  tip->setWordWrap(true);
  tip->setGeometry(kInnerLeft, 64, kInnerWidth, 20);
  siteName_->parentWidget()->resize(kFrameWidth, 90);

  siteAddress_ = addField(2, QStringLiteral("2. step - Site address"),
                          QStringLiteral("Type here the wap site address:"), 104);
  welcomeText_ = addField(3, QStringLiteral("3. step - Welcome text"),
                          QStringLiteral("Type here the welcome text:"), 178);

  auto* textFrame = new QGroupBox(QStringLiteral("4. step - Text"), this);
  textFrame->setObjectName(QStringLiteral("GroupBox4"));
  textFrame->setGeometry(kFrameLeft, 252, kFrameWidth, 150);
  auto* textLabel = new QLabel(QStringLiteral("Type your text here:"), textFrame);
  textLabel->setObjectName(QStringLiteral("Label4"));
  textLabel->setGeometry(kInnerLeft, 20, kInnerWidth, 18);
  body_ = new QPlainTextEdit(textFrame);
  body_->setObjectName(QStringLiteral("Memo1"));
  body_->setGeometry(kInnerLeft, 40, kInnerWidth, 100);
  body_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  body_->setTabChangesFocus(true);
  textLabel->setBuddy(body_);

  const QRect bottom(0, 412, 141, 32);
  saveButton_ =
      makeButton(QStringLiteral("BitBtn1"), QStringLiteral("Save"), bottom.translated(8, 0));
  retryButton_ =
      makeButton(QStringLiteral("BitBtn3"), QStringLiteral("Retry"), bottom.translated(154, 0));
  cancelButton_ =
      makeButton(QStringLiteral("BitBtn4"), QStringLiteral("Cancel"), bottom.translated(300, 0));
  connect(saveButton_, &QPushButton::clicked, this, &SiteWizard::save);
  connect(retryButton_, &QPushButton::clicked, this, &SiteWizard::retry);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

  const QList<QWidget*> order = {siteName_,   siteAddress_, welcomeText_, body_,
                                 saveButton_, retryButton_, cancelButton_};
  for (int i = 1; i < order.size(); ++i)
    setTabOrder(order.at(i - 1), order.at(i));
  retry();
}

QLineEdit* SiteWizard::addField(int step, const QString& frame, const QString& label, int top) {
  auto* box = new QGroupBox(frame, this);
  box->setObjectName(QStringLiteral("GroupBox%1").arg(step));
  box->setGeometry(kFrameLeft, top, kFrameWidth, 68);
  auto* caption = new QLabel(label, box);
  caption->setObjectName(QStringLiteral("Label%1").arg(step));
  caption->setGeometry(kInnerLeft, 20, kInnerWidth, 18);
  auto* field = new QLineEdit(box);
  field->setObjectName(QStringLiteral("Edit%1").arg(step));
  field->setGeometry(kInnerLeft, 38, kInnerWidth, 24);
  caption->setBuddy(field);
  enterMovesFocus(field);
  return field;
}

SitePage SiteWizard::fields() const {
  SitePage page;
  page.siteName = siteName_->text();
  page.siteAddress = siteAddress_->text();
  page.welcomeText = welcomeText_->text();
  page.body = body_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return page;
}

void SiteWizard::save() {
  pageBuffer_ = sitePageText(fields());

  FileDialogRequest request;
  request.title = QStringLiteral("Save As");
  request.filters = {QStringLiteral("WML Files (*.wml)")};
  request.initialName = fileName_;
  request.defaultSuffix = QStringLiteral("wml");
  request.confirmOverwrite = true;
  const QString name = prompts_.saveFileName(this, request);
  if (name.isEmpty())
    return;
  fileName_ = name;

  QString reason;
  if (!writeFileAtomically(name, encodeDocument(pageBuffer_, TextEncoding::Utf8), &reason)) {
    prompts_.error(this, cannotCreateFileText(name, reason));
    return;
  }
  accept();
}

void SiteWizard::retry() {
  siteName_->setText(QStringLiteral("My wap"));
  siteAddress_->setText(SitePage::defaultSiteAddress());
  welcomeText_->setText(QStringLiteral("Welcome!"));
  body_->clear();
  body_->setPlainText(QStringLiteral("Sample text...\n"));
  pageBuffer_.clear();
}

} // namespace tessera
