#pragma once

#include <QObject>

class QLineEdit;
class QWidget;

namespace tessera {

class OptionalFieldSwitch;
class EditorView;

// The "Phone call" and "Name list" tabs: links to the handset's phone
// functions.
class PhoneTabs : public QObject {
  Q_OBJECT
public:
  PhoneTabs(QWidget* callPage, QWidget* nameListPage, EditorView* editor);

  void reset();
  void insertPhoneCall(); // Button7
  void insertNameList();  // Button24

private:
  EditorView* editor_;
  QLineEdit* callText_ = nullptr;   // Edit11
  QLineEdit* callNumber_ = nullptr; // Edit12
  QLineEdit* listText_ = nullptr;   // Edit19
  QLineEdit* listNumber_ = nullptr; // Edit20
  QLineEdit* name_ = nullptr;       // Edit21
  OptionalFieldSwitch* nameSwitch_ = nullptr;
};

} // namespace tessera
