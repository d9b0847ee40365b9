#include "generators/GeneratorDialog.h"

#include "platform/PlainButton.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace tessera {

GeneratorDialog::GeneratorDialog(const QString& objectName, const QString& caption,
                                 QSize clientSize, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(objectName);
  setWindowTitle(caption);
  setModal(true);
  setFixedSize(clientSize);
  QFont uiFont(QStringLiteral("MS Sans Serif"), 8);
  uiFont.setStyleHint(QFont::SansSerif);
  setFont(uiFont);
}

void GeneratorDialog::done(int result) {
  QDialog::done(result);
  reset();
}

void GeneratorDialog::showEvent(QShowEvent* event) {
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  QDialog::showEvent(event);
}

QPushButton* GeneratorDialog::makeButton(const QString& name, const QString& text,
                                         const QRect& geometry, QWidget* parent) {
  QPushButton* button = plainButton(text, name, parent ? parent : this);
  button->setGeometry(geometry);
  return button;
}

void GeneratorDialog::enterMovesFocus(QLineEdit* field) { field->installEventFilter(this); }

bool GeneratorDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      // The focus moves when the key comes up, so the release cannot
      // reach, and move on from, the next field as well.
      if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat())
        focusNextChild();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void GeneratorDialog::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
    // No button is the window's default, so Enter reaches here only from a
    // button or a radio button; it presses a focused push button.
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled()) {
      button->click();
      event->accept();
      return;
    }
  }
  QDialog::keyPressEvent(event);
}

RadioGroup RadioGroup::make(QWidget* parent, const QString& name, const QString& caption,
                            const QStringList& items, const QRect& geometry) {
  RadioGroup group;
  group.box = new QGroupBox(caption, parent);
  group.box->setObjectName(name);
  group.box->setGeometry(geometry);
  group.buttons = new QButtonGroup(group.box);
  const int top = 22;
  const int step = (geometry.height() - top - 6) / int(items.size());
  for (int i = 0; i < items.size(); ++i) {
    auto* radio = new QRadioButton(items.at(i), group.box);
    radio->setObjectName(name + QStringLiteral("Item%1").arg(i + 1));
    radio->setGeometry(12, top + i * step, geometry.width() - 24, step);
    group.buttons->addButton(radio, i + 1);
  }
  return group;
}

int RadioGroup::chosen() const { return qMax(0, buttons->checkedId()); }

void RadioGroup::choose(int item) {
  if (QAbstractButton* b = buttons->button(item))
    b->setChecked(true);
}

void RadioGroup::clear() {
  // An exclusive group never lets its last choice go.
  buttons->setExclusive(false);
  for (QAbstractButton* b : buttons->buttons())
    b->setChecked(false);
  buttons->setExclusive(true);
}

QRadioButton* RadioGroup::button(int item) const {
  return static_cast<QRadioButton*>(buttons->button(item));
}

} // namespace tessera
