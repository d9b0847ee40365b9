#pragma once

#include <QObject>

class QComboBox;
class QLineEdit;
class QWidget;

namespace tessera {

class OptionalFieldSwitch;
class EditorView;

// The "Input field" and "Comment" tabs.
class InputTabs : public QObject {
  Q_OBJECT
public:
  InputTabs(QWidget* inputPage, QWidget* commentPage, EditorView* editor);

  void reset();
  void insertInputField(); // Button11
  void insertComment();    // Button10

private:
  EditorView* editor_;
  QLineEdit* name_ = nullptr;      // Edit15
  QLineEdit* size_ = nullptr;      // Edit16
  QLineEdit* maxLength_ = nullptr; // Edit18
  QComboBox* type_ = nullptr;      // ComboBox1
  QLineEdit* comment_ = nullptr;   // Edit17
  OptionalFieldSwitch* sizeSwitch_ = nullptr;
  OptionalFieldSwitch* maxLengthSwitch_ = nullptr;
};

} // namespace tessera
