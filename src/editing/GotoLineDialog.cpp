#include "editing/GotoLineDialog.h"

#include "platform/PlainButton.h"
#include "platform/Product.h"
#include "platform/Prompts.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tessera {

namespace {
// A key that types a character the field does not take. Keys that type
// nothing (arrows, Delete, Home) and focus moves stay free.
bool refusedKey(const QKeyEvent* key) {
  if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Escape)
    return false;
  const Qt::KeyboardModifiers mods = key->modifiers();
  const bool control = mods.testFlag(Qt::ControlModifier) && !mods.testFlag(Qt::AltModifier);
  // Control combinations type control characters (and would paste or cut).
  if (control && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z)
    return true;
  const QString text = key->text();
  if (text.isEmpty())
    return false;
  if (text == QLatin1String("\b"))
    return false;
  return !(text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9'));
}
} // namespace

GotoLineDialog::GotoLineDialog(Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      prompts_(prompts) {
  setObjectName(QStringLiteral("TForm15"));
  setWindowTitle(QStringLiteral("Go to Line"));
  setModal(true);

  from_ = new QLabel(QStringLiteral("Go to 1 -"), this);
  from_->setObjectName(QStringLiteral("Label1"));
  highest_ = new QLabel(QStringLiteral("1"), this);
  highest_->setObjectName(QStringLiteral("Label2"));
  edit_ = new QLineEdit(QStringLiteral("1"), this);
  edit_->setObjectName(QStringLiteral("Edit1"));
  edit_->installEventFilter(this);
  ok_ = plainButton(QStringLiteral("OK"), QStringLiteral("BitBtn1"), this);
  cancel_ = plainButton(QStringLiteral("Cancel"), QStringLiteral("BitBtn2"), this);

  auto* range = new QHBoxLayout;
  range->setSpacing(4);
  range->addWidget(from_);
  range->addWidget(highest_);
  range->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(range);
  layout->addWidget(edit_);
  layout->addLayout(buttons);
  setFixedSize(220, sizeHint().height());

  connect(ok_, &QPushButton::clicked, this, &GotoLineDialog::pressOk);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void GotoLineDialog::prepare(int lineCount) {
  if (edit_->text() == QLatin1String("0"))
    edit_->setText(QStringLiteral("1"));
  highest_->setText(QString::number(qint64(lineCount) + 1));
  edit_->setFocus(Qt::OtherFocusReason);
  edit_->selectAll();
}

void GotoLineDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  edit_->setFocus(Qt::OtherFocusReason);
  edit_->selectAll();
}

void GotoLineDialog::pressOk() {
  bool ok = false;
  const int n = edit_->text().toInt(&ok);
  if (!ok) {
    prompts_.message(this, QMessageBox::Critical, kProgramTitle,
                     QStringLiteral("'%1' is not a valid integer value.").arg(edit_->text()),
                     QMessageBox::Ok);
    return;
  }
  const int highest = highest_->text().toInt();
  if (n > highest || n <= 0) {
    prompts_.information(this, QStringLiteral("Wrong number!"));
    return;
  }
  chosen_ = n;
  accept();
}

bool GotoLineDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress &&
      refusedKey(static_cast<QKeyEvent*>(event))) {
    prompts_.beep();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

} // namespace tessera
