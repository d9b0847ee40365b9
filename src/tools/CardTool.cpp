#include "tools/CardTool.h"

#include "editor/EditorView.h"
#include "platform/Hint.h"
#include "platform/Prompts.h"
#include "tools/CardBuilders.h"
#include "tools/FieldRules.h"
#include "tools/ToolWidgets.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessera {

using namespace toolui;

static const QString kCardOkHint = QStringLiteral("Insertion of the card ");
static const QString kSettingsOn = QStringLiteral("Other settings (Enabled)");
static const QString kSettingsOff = QStringLiteral("Other settings (Disabled)");
static constexpr int kPanelMargin = 10; // each side: the panel is 20 narrower than the window

CardTool::CardTool(QWidget* page, QWidget* host, QWidget* anchor, EditorView* editor,
                   Prompts& prompts)
    : QObject(page), editor_(editor), prompts_(prompts), host_(host), anchor_(anchor) {
  buildTab(page);
  buildPanel();
  host_->installEventFilter(this);
  anchor_->installEventFilter(this);
}

void CardTool::buildTab(QWidget* page) {
  QHBoxLayout* layout = row(page);
  label(layout, "Label5", QStringLiteral("Card ID:"));
  cardId_ = lineEdit(layout, "Edit5", QStringLiteral("second"),
                     QStringLiteral("Name of card for later reference. Do not use space, special "
                                    "characters and accents in this name. It is mandatory to "
                                    "specify."),
                     120);
  label(layout, "Label6", QStringLiteral("Title:"));
  title_ = lineEdit(layout, "Edit6", QStringLiteral("Card Title"),
                    QStringLiteral("Text of the page header. It is mandatory to specify."), 160);
  // The title advances like the card ID, so Enter walks the whole tab.
  for (QLineEdit* edit : {cardId_, title_}) {
    setEnterRule(edit, EnterRule::Advance);
    selectAllOnDoubleClick(edit);
  }
  otherSettings_ = new QCheckBox(kSettingsOff);
  otherSettings_->setObjectName(QStringLiteral("CheckBox1"));
  setHint(otherSettings_, QStringLiteral("Enable/Disable other settings"));
  layout->addSpacing(6);
  layout->addWidget(otherSettings_);
  tabOk_ = okButton(layout, "Button9", kCardOkHint);
  layout->addStretch(1);
  connect(otherSettings_, &QCheckBox::toggled, this, &CardTool::onOtherSettingsToggled);
  connect(tabOk_, &QPushButton::clicked, this, &CardTool::insertCard);
  chainTabOrder({cardId_, title_, otherSettings_, tabOk_});
}

void CardTool::buildPanel() {
  panel_ = new QFrame(host_);
  panel_->setObjectName(QStringLiteral("Panel1"));
  panel_->setFrameShape(QFrame::Panel);
  panel_->setFrameShadow(QFrame::Raised);
  panel_->setAutoFillBackground(true);
  panel_->hide();

  // Two rows, so that the panel still fits a 640-pixel window.
  auto* rows = new QVBoxLayout(panel_);
  rows->setContentsMargins(8, 4, 8, 6);
  rows->setSpacing(4);
  auto* options = new QHBoxLayout;
  options->setSpacing(16);
  auto* layout = new QHBoxLayout;
  layout->setSpacing(10);
  rows->addLayout(options);
  rows->addLayout(layout);
  clearHistory_ =
      new QCheckBox(QStringLiteral("Clearing of explorer history data when loading a card"));
  clearHistory_->setObjectName(QStringLiteral("CheckBox2"));
  useTimer_ = new QCheckBox(QStringLiteral("Use timer"));
  useTimer_->setObjectName(QStringLiteral("CheckBox3"));
  options->addWidget(clearHistory_);
  options->addWidget(useTimer_);
  options->addStretch(1);

  auto* group = new QGroupBox(QStringLiteral("Timer settings"));
  group->setObjectName(QStringLiteral("GroupBox1"));
  auto* timer = new QHBoxLayout(group);
  timer->setContentsMargins(8, 2, 8, 4);
  timer->setSpacing(5);
  label(timer, "Label13", QStringLiteral("Waiting time:"));
  waitingTime_ = lineEdit(timer, "Edit13", QStringLiteral("1"),
                          QStringLiteral("After expiry of this time, the respective URL gets "
                                         "loaded. It has to be specified."),
                          40);
  waitingTime_->setMaxLength(3);
  acceptDigitsOnly(waitingTime_);
  setEnterRule(waitingTime_, EnterRule::Advance);
  label(timer, "Label15", QStringLiteral("second"));
  timer->addSpacing(10);
  label(timer, "Label14", QStringLiteral("URL to be loaded:"));
  timerUrl_ = lineEdit(timer, "Edit14", QStringLiteral("http://"),
                       QStringLiteral("After expiry of the waiting time, the path of the "
                                      "respective page has to be specified (mandatory)."),
                       200);
  setEnterRule(timerUrl_, EnterRule::AdvanceAndConfirm);
  layout->addWidget(group);

  panelOk_ = okButton(layout, "Button8", kCardOkHint);
  layout->setAlignment(panelOk_, Qt::AlignBottom);
  layout->addStretch(1);

  onUseTimerToggled(false);
  connect(useTimer_, &QCheckBox::toggled, this, &CardTool::onUseTimerToggled);
  connect(panelOk_, &QPushButton::clicked, this, &CardTool::insertCardWithSettings);
  chainTabOrder({clearHistory_, useTimer_, waitingTime_, timerUrl_, panelOk_});
  placePanel();
}

void CardTool::placePanel() {
  const int top = anchor_->parentWidget() == host_ ? anchor_->geometry().bottom() + 1 : 0;
  panel_->setGeometry(kPanelMargin, top, host_->width() - 2 * kPanelMargin,
                      panel_->sizeHint().height());
}

bool CardTool::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == host_ && event->type() == QEvent::Resize) ||
      (watched == anchor_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)))
    placePanel();
  return QObject::eventFilter(watched, event);
}

void CardTool::onOtherSettingsToggled(bool checked) {
  if (checked) {
    placePanel();
    panel_->raise();
  }
  panel_->setVisible(checked);
  otherSettings_->setText(checked ? kSettingsOn : kSettingsOff);
  // While the panel is open its own OK button is the one in use.
  tabOk_->setVisible(!checked);
}

void CardTool::onUseTimerToggled(bool checked) {
  waitingTime_->setEnabled(checked);
  timerUrl_->setEnabled(checked);
}

void CardTool::closeSettings() { otherSettings_->setChecked(false); }

void CardTool::insertCard() { editor_->apply(plainCard(cardId_->text(), title_->text())); }

void CardTool::insertCardWithSettings() {
  const CardOutcome outcome =
      cardWithSettings({cardId_->text(), title_->text(), clearHistory_->isChecked(),
                        useTimer_->isChecked(), waitingTime_->text(), timerUrl_->text()});
  if (!outcome.ok()) {
    // Nothing is inserted; the panel stays open with every value kept.
    prompts_.error(panel_->window(), outcome.error);
    return;
  }
  editor_->apply(outcome.insertion);
  panel_->hide();
  otherSettings_->setText(kSettingsOff);
  tabOk_->show();
  otherSettings_->setChecked(false);
  editor_->focusEditor();
}

void CardTool::reset() {
  otherSettings_->setChecked(false);
  panel_->hide();
  // New leaves this odd caption until the box is next clicked.
  otherSettings_->setText(QStringLiteral("Else settings (Disabled)"));
  tabOk_->show();
  clearHistory_->setChecked(false);
  useTimer_->setChecked(false);
  waitingTime_->setEnabled(false);
  timerUrl_->setEnabled(false);
  waitingTime_->setText(QStringLiteral("1"));
  timerUrl_->setText(QStringLiteral("http://"));
  cardId_->setText(QStringLiteral("second"));
  title_->setText(QStringLiteral("Card Title"));
}

} // namespace tessera
