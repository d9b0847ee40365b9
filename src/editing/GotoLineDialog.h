#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tessera {

class Prompts;

// The modal Go to Line window: a line number between 1 and the editor's
// line count + 1 (the extra one is the empty line after a final break).
// Only digits and Backspace can be typed; anything else beeps. Neither
// button is a default button, so Enter does not press OK.
class GotoLineDialog : public QDialog {
  Q_OBJECT
public:
  GotoLineDialog(Prompts& prompts, QWidget* parent = nullptr);

  // Before each showing: the range for a document of `lineCount` lines;
  // the entry is kept from last time, except a "0", which goes back to "1".
  void prepare(int lineCount);

  // The accepted line number (valid after the window was accepted).
  int chosenLine() const { return chosen_; }

  QLineEdit* numberEdit() const { return edit_; }
  QLabel* rangeLabel() const { return highest_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  // OK: checks the entry; accepts the window only for a line in range.
  void pressOk();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  Prompts& prompts_;
  QLabel* from_ = nullptr;
  QLabel* highest_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  int chosen_ = 0;
};

} // namespace tessera
