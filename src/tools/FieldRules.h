#pragma once

#include <QObject>

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

// The shared behaviour of the tool fields: keyboard flow with Enter,
// select-all on double-click, digits-only fields and the green/red labels
// that switch an optional field on and off.
namespace tessera {

enum class EnterRule {
  Advance,           // Enter moves the focus to the next enabled control
  AdvanceAndConfirm, // ... and presses it (the tab's OK button)
};

// Acts when Enter (with any modifiers) is released in the field.
void setEnterRule(QWidget* field, EnterRule rule);
// The next control the Tab key would reach from `field`: shown, enabled,
// taking keyboard focus, outside the field itself.
QWidget* nextInTabOrder(QWidget* field);

// A double click selects the whole text, so typing replaces the value.
void selectAllOnDoubleClick(QLineEdit* field);
void selectAllOnDoubleClick(QComboBox* field);

// Typed characters other than 0-9 are dropped silently; editing keys,
// shortcuts and pasting still work.
void acceptDigitsOnly(QLineEdit* field);

// An OK button pressed with Enter while it has the focus, as the Enter rule
// above expects of it.
void pressOnEnter(QAbstractButton* button);

// Two labels with the same caption at the same place: the green one shows
// while the field is enabled, the red one while it is disabled; clicking
// the one shown toggles the field. The field keeps its text meanwhile.
class OptionalFieldSwitch : public QObject {
  Q_OBJECT
public:
  OptionalFieldSwitch(QLabel* green, QLabel* red, QWidget* field, bool on, QObject* parent);

  bool isOn() const { return on_; }
  void setOn(bool on);
  void toggle() { setOn(!on_); }

  QLabel* greenLabel() const { return green_; }
  QLabel* redLabel() const { return red_; }

signals:
  void switched(bool on);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QLabel* green_;
  QLabel* red_;
  QWidget* field_;
  bool on_ = false;
};

} // namespace tessera
