#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tessera {

// What the three generator windows share: a fixed client size, centred on
// the screen with only a close box, and a reset whenever the window closes,
// however it is closed.
class GeneratorDialog : public QDialog {
  Q_OBJECT
public:
  // Runs whenever the window closes (Insert, Save, Cancel, close box, Escape).
  void done(int result) override;

protected:
  GeneratorDialog(const QString& objectName, const QString& caption, QSize clientSize,
                  QWidget* parent);

  // Back to the state of every opening.
  virtual void reset() = 0;

  // A push button that never acts as the window's default button, so Enter
  // in a field does not press it.
  QPushButton* makeButton(const QString& name, const QString& text, const QRect& geometry,
                          QWidget* parent = nullptr);

  // Enter released in `field` moves the focus on, as Tab would.
  void enterMovesFocus(QLineEdit* field);

  bool eventFilter(QObject* watched, QEvent* event) override;
  // Enter presses the focused button, as on any desktop.
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
};

// A framed group of radio buttons numbered 1.. in order; nothing or one chosen.
struct RadioGroup {
  QGroupBox* box = nullptr;
  QButtonGroup* buttons = nullptr;

  static RadioGroup make(QWidget* parent, const QString& name, const QString& caption,
                         const QStringList& items, const QRect& geometry);
  int chosen() const; // 1-based, 0 when nothing is chosen
  void choose(int item);
  void clear();
  QRadioButton* button(int item) const;
};

} // namespace tessera
