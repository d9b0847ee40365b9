#include "tools/FieldRules.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace tessera {

namespace {

bool isEnter(const QKeyEvent* key) {
  return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

class EnterFilter : public QObject {
public:
  EnterFilter(QWidget* field, EnterRule rule) : QObject(field), field_(field), rule_(rule) {}

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyRelease)
      return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!isEnter(key) || key->isAutoRepeat())
      return false;
    QWidget* next = nextInTabOrder(field_);
    if (!next)
      return false;
    next->setFocus(Qt::TabFocusReason);
    if (rule_ == EnterRule::AdvanceAndConfirm)
      if (auto* button = qobject_cast<QAbstractButton*>(next))
        button->click();
    return true;
  }

private:
  QWidget* field_;
  EnterRule rule_;
};

class DoubleClickFilter : public QObject {
public:
  explicit DoubleClickFilter(QLineEdit* edit) : QObject(edit), edit_(edit) {}

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonDblClick)
      return false;
    // Instead of the word under the pointer, the whole value.
    edit_->selectAll();
    return true;
  }

private:
  QLineEdit* edit_;
};

class DigitFilter : public QObject {
public:
  using QObject::QObject;

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress)
      return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier))
      return false; // shortcuts such as paste
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint())
      return false; // Backspace, Delete, arrows, Enter, Tab
    for (QChar c : text)
      if (c < QLatin1Char('0') || c > QLatin1Char('9'))
        return true; // dropped without a sound
    return false;
  }
};

class ButtonEnterFilter : public QObject {
public:
  explicit ButtonEnterFilter(QAbstractButton* button) : QObject(button), button_(button) {}

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress)
      return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!isEnter(key) || key->isAutoRepeat())
      return false;
    button_->click();
    return true;
  }

private:
  QAbstractButton* button_;
};

} // namespace

QWidget* nextInTabOrder(QWidget* field) {
  for (QWidget* w = field->nextInFocusChain(); w && w != field; w = w->nextInFocusChain()) {
    if (field->isAncestorOf(w) || w->focusProxy())
      continue;
    if (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled())
      continue;
    // Controls of other tabs and hidden buttons are not reachable.
    if (!w->isVisibleTo(w->window()))
      continue;
    return w;
  }
  return nullptr;
}

void setEnterRule(QWidget* field, EnterRule rule) {
  auto* filter = new EnterFilter(field, rule);
  field->installEventFilter(filter);
  // An editable combo box types into its own line edit.
  if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
    combo->lineEdit()->installEventFilter(filter);
}

void selectAllOnDoubleClick(QLineEdit* field) {
  field->installEventFilter(new DoubleClickFilter(field));
}

void selectAllOnDoubleClick(QComboBox* field) {
  if (QLineEdit* edit = field->lineEdit())
    selectAllOnDoubleClick(edit);
}

void acceptDigitsOnly(QLineEdit* field) { field->installEventFilter(new DigitFilter(field)); }

void pressOnEnter(QAbstractButton* button) {
  button->installEventFilter(new ButtonEnterFilter(button));
}

// --- optional-field switch ----------------------------------------------------

OptionalFieldSwitch::OptionalFieldSwitch(QLabel* green, QLabel* red, QWidget* field, bool on,
                                         QObject* parent)
    : QObject(parent), green_(green), red_(red), field_(field) {
  QPalette greenPalette = green->palette();
  greenPalette.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x00));
  green->setPalette(greenPalette);
  QPalette redPalette = red->palette();
  redPalette.setColor(QPalette::WindowText, QColor(0xff, 0x00, 0x00));
  red->setPalette(redPalette);
  for (QLabel* label : {green, red}) {
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(this);
  }
  on_ = !on; // so that setOn applies every state below
  setOn(on);
}

void OptionalFieldSwitch::setOn(bool on) {
  if (on == on_)
    return;
  on_ = on;
  field_->setEnabled(on);
  green_->setVisible(on);
  red_->setVisible(!on);
  emit switched(on);
}

bool OptionalFieldSwitch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    auto* label = static_cast<QLabel*>(watched);
    if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
      toggle();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

} // namespace tessera
