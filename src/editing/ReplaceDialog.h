#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tessera {

// The modeless replace box: Find what, Replace with, and the buttons Find
// Next, Replace, Replace All and Cancel. Matching is fixed (case-sensitive,
// no whole words); those options are shown disabled.
class ReplaceDialog : public QDialog {
  Q_OBJECT
public:
  static constexpr int kMaxTextLength = 255;

  explicit ReplaceDialog(QWidget* parent = nullptr);

  QString findText() const;
  QString replaceText() const;
  QLineEdit* findEdit() const { return findEdit_; }
  QLineEdit* replaceEdit() const { return replaceEdit_; }
  QPushButton* findNextButton() const { return findNext_; }
  QPushButton* replaceButton() const { return replace_; }
  QPushButton* replaceAllButton() const { return replaceAll_; }
  QPushButton* cancelButton() const { return cancel_; }

  // Shows the box, or brings it to the front with its texts kept.
  void showBox();

signals:
  void findNext(const QString& text);
  void replace(const QString& text, const QString& replacement);
  void replaceAll(const QString& text, const QString& replacement);

private:
  void updateButtons();

  QLineEdit* findEdit_ = nullptr;
  QLineEdit* replaceEdit_ = nullptr;
  QPushButton* findNext_ = nullptr;
  QPushButton* replace_ = nullptr;
  QPushButton* replaceAll_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

} // namespace tessera
