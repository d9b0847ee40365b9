#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tessera {

// The modeless find box. Its options are fixed (forward, case-sensitive,
// no whole-word matching) and shown that way, disabled.
class FindDialog : public QDialog {
  Q_OBJECT
public:
  static constexpr int kMaxTextLength = 255;

  explicit FindDialog(QWidget* parent = nullptr);

  QString findText() const;
  QLineEdit* findEdit() const { return findEdit_; }
  QPushButton* findNextButton() const { return findNext_; }
  QPushButton* cancelButton() const { return cancel_; }

  // Shows the box, or brings it to the front with its text kept.
  void showBox();

signals:
  void findNext(const QString& text);

private:
  void updateButtons();

  QLineEdit* findEdit_ = nullptr;
  QPushButton* findNext_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

} // namespace tessera
