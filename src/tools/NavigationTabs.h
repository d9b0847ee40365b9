#pragma once

#include <QObject>

class QComboBox;
class QLineEdit;
class QWidget;

namespace tessera {

class EditorView;

// The "Button" tab (a soft key: do element with a go task; its type list
// grows by each new type used) and the "Other" tab (back button, template,
// paragraph, refresh and head).
class NavigationTabs : public QObject {
  Q_OBJECT
public:
  NavigationTabs(QWidget* buttonPage, QWidget* otherPage, EditorView* editor);

  void reset();
  void insertDoElement(); // Button12

private:
  void buildButtonTab(QWidget* page);
  void buildOtherTab(QWidget* page);

  EditorView* editor_;
  QLineEdit* buttonText_ = nullptr; // Edit7
  QLineEdit* buttonUrl_ = nullptr;  // Edit8
  QComboBox* type_ = nullptr;       // ComboBox2
};

} // namespace tessera
