#include "app/NoticeBar.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace tessera {

NoticeBar::NoticeBar(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("NoticeBar1"));
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  // The colours of a tool tip: noticeable, and readable in every theme.
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
  colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
  setPalette(colours);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 3, 3, 3);
  picture_ = new QLabel(this);
  // Icon and close button stay beside the text's middle, however many
  // lines it wraps to.
  layout->addWidget(picture_, 0, Qt::AlignVCenter);
  label_ = new QLabel(this);
  label_->setObjectName(QStringLiteral("NoticeText1"));
  label_->setWordWrap(true);
  label_->setTextFormat(Qt::PlainText);
  layout->addWidget(label_, 1);
  close_ = new QToolButton(this);
  close_->setObjectName(QStringLiteral("NoticeClose1"));
  close_->setAutoRaise(true);
  close_->setIconSize(QSize(16, 16));
  close_->setToolTip(QStringLiteral("Close"));
  close_->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(close_, 0, Qt::AlignVCenter);
  connect(close_, &QToolButton::clicked, this, &QWidget::hide);
  hide();
}

void NoticeBar::showPictures() {
  picture_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(16, 16));
  close_->setIcon(QIcon::fromTheme(QStringLiteral("window-close"),
                                   style()->standardIcon(QStyle::SP_TitleBarCloseButton)));
}

void NoticeBar::showNotice(const QString& text) {
  if (!text.isEmpty() && close_->icon().isNull())
    showPictures();
  label_->setText(text);
  setVisible(!text.isEmpty());
}

QString NoticeBar::text() const { return isHidden() ? QString() : label_->text(); }

} // namespace tessera
