#include "deck/WbmpWindow.h"

#include "deck/StatusReport.h"
#include "document/DocumentFiles.h"
#include "editor/EditorView.h"
#include "platform/Prompts.h"
#include "tools/LinkBuilders.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

namespace tessera {

WbmpWindow::WbmpWindow(EditorView& editor, Prompts& prompts, std::function<QString()> documentPath,
                       QWidget* parent)
    : QDialog(parent), editor_(editor), prompts_(prompts), documentPath_(std::move(documentPath)),
      actualSize_(new QLabel), doubleSize_(new QLabel), bytes_(new QLabel),
      threshold_(new QRadioButton(QStringLiteral("&Threshold"))),
      ordered_(new QRadioButton(QStringLiteral("&Ordered"))),
      diffusion_(new QRadioButton(QStringLiteral("&Error diffusion"))),
      level_(new QSlider(Qt::Horizontal)), levelText_(new QLabel) {
  setObjectName(QStringLiteral("WbmpWindow"));
  setWindowTitle(QStringLiteral("Convert Image to WBMP"));
  actualSize_->setObjectName(QStringLiteral("WbmpActualSize"));
  doubleSize_->setObjectName(QStringLiteral("WbmpDoubleSize"));
  bytes_->setObjectName(QStringLiteral("WbmpBytes"));
  threshold_->setObjectName(QStringLiteral("WbmpThreshold"));
  ordered_->setObjectName(QStringLiteral("WbmpOrdered"));
  diffusion_->setObjectName(QStringLiteral("WbmpDiffusion"));
  level_->setObjectName(QStringLiteral("WbmpLevel"));
  level_->setRange(0, 255);
  level_->setValue(kDefaultThreshold);
  diffusion_->setChecked(true);

  auto* pictures = new QHBoxLayout;
  for (QLabel* view : {actualSize_, doubleSize_}) {
    view->setAlignment(Qt::AlignCenter);
    view->setFrameShape(QFrame::StyledPanel);
    view->setMinimumSize(120, 120);
    auto* scroll = new QScrollArea;
    scroll->setWidget(view);
    scroll->setWidgetResizable(true);
    pictures->addWidget(scroll, view == doubleSize_ ? 2 : 1);
  }
  auto* choice = new QGroupBox(QStringLiteral("Dithering"));
  auto* choiceLayout = new QHBoxLayout(choice);
  for (QRadioButton* button : {threshold_, ordered_, diffusion_}) {
    choiceLayout->addWidget(button);
    connect(button, &QRadioButton::toggled, this, [this](bool on) {
      if (on)
        convert();
    });
  }
  auto* levelRow = new QHBoxLayout;
  levelRow->addWidget(new QLabel(QStringLiteral("Threshold:")));
  levelRow->addWidget(level_, 1);
  levelRow->addWidget(levelText_);
  connect(level_, &QSlider::valueChanged, this, &WbmpWindow::convert);

  auto* buttons = new QDialogButtonBox;
  QPushButton* saveButton =
      buttons->addButton(QStringLiteral("&Save..."), QDialogButtonBox::AcceptRole);
  saveButton->setObjectName(QStringLiteral("WbmpSave"));
  buttons->addButton(QDialogButtonBox::Close);
  connect(saveButton, &QPushButton::clicked, this, [this] {
    if (save())
      accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(pictures, 1);
  layout->addWidget(choice);
  layout->addLayout(levelRow);
  layout->addWidget(bytes_);
  layout->addWidget(buttons);
  resize(560, 420);
}

Dithering WbmpWindow::dithering() const {
  return threshold_->isChecked() ? Dithering::Threshold
         : ordered_->isChecked() ? Dithering::Ordered
                                 : Dithering::Diffusion;
}

int WbmpWindow::threshold() const { return level_->value(); }

void WbmpWindow::setPicture(const QImage& picture, const QString& path) {
  picture_ = picture;
  picturePath_ = path;
  setWindowTitle(QStringLiteral("Convert Image to WBMP - ") + QFileInfo(path).fileName());
  convert();
}

void WbmpWindow::convert() {
  levelText_->setText(QString::number(level_->value()));
  oneBit_ = toOneBit(picture_, dithering(), level_->value());
  const QPixmap shown = QPixmap::fromImage(oneBit_);
  actualSize_->setPixmap(shown);
  doubleSize_->setPixmap(
      shown.scaled(shown.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  bytes_->setText(QStringLiteral("%1 x %2 pixels, WBMP %3 bytes")
                      .arg(oneBit_.width())
                      .arg(oneBit_.height())
                      .arg(wbmp().size()));
}

// Beside the saved deck, named after the picture; beside the picture for a
// deck never saved.
QString WbmpWindow::proposedName() const {
  const QString deck = documentPath_ ? documentPath_() : QString();
  const QFileInfo picture(picturePath_);
  const QDir folder = deck.isEmpty() ? picture.dir() : QFileInfo(deck).dir();
  return folder.filePath(picture.completeBaseName() + QStringLiteral(".wbmp"));
}

bool WbmpWindow::save() {
  FileDialogRequest request;
  request.title = QStringLiteral("Save WBMP Image");
  request.filters = {QStringLiteral("WBMP images (*.wbmp)"), QStringLiteral("All files (*)")};
  request.initialName = proposedName();
  request.defaultSuffix = QStringLiteral("wbmp");
  request.confirmOverwrite = true;
  const QString path = prompts_.saveFileName(this, request);
  if (path.isEmpty())
    return false;
  QString reason;
  const QByteArray bytes = wbmp();
  if (bytes.isEmpty()) {
    prompts_.error(this, QStringLiteral("Cannot write WBMP images: Qt's image formats plugin is "
                                        "missing."));
    return false;
  }
  if (!writeFileAtomically(path, bytes, &reason)) {
    prompts_.error(this, cannotCreateFileText(path, reason));
    return false;
  }
  if (parentWidget())
    reportInStatusLine(*parentWidget()->window(), QStringLiteral("Converted to %1: %2 bytes")
                                                      .arg(QDir::toNativeSeparators(path))
                                                      .arg(bytes.size()));
  // The deck refers to the picture relative to itself.
  const QString deck = documentPath_ ? documentPath_() : QString();
  const QString source =
      deck.isEmpty() ? QFileInfo(path).fileName() : QFileInfo(deck).dir().relativeFilePath(path);
  const QString name = QFileInfo(path).completeBaseName();
  const Insertion insertion = imageElement(source, name);
  if (prompts_.confirm(this, QStringLiteral("Insert %1 at the caret?").arg(insertion.text),
                       QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
    editor_.apply(insertion);
  return true;
}

} // namespace tessera
