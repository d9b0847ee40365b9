#pragma once

#include <QObject>

class QComboBox;
class QLineEdit;
class QWidget;

namespace tessera {

class OptionalFieldSwitch;
class EditorView;

// The "Link", "Image" and "Image link" tabs.
class LinkTabs : public QObject {
  Q_OBJECT
public:
  LinkTabs(QWidget* linkPage, QWidget* imagePage, QWidget* imageLinkPage, EditorView* editor);

  void reset();

  void insertLink();      // Button3
  void insertImage();     // Button4
  void insertImageLink(); // Button5

private:
  void buildLinkTab(QWidget* page);
  void buildImageTab(QWidget* page);
  void buildImageLinkTab(QWidget* page);

  EditorView* editor_;
  QLineEdit* linkUrl_ = nullptr;   // Edit1
  QLineEdit* linkText_ = nullptr;  // Edit10
  QComboBox* accessKey_ = nullptr; // ComboBox3
  OptionalFieldSwitch* accessKeySwitch_ = nullptr;
  QLineEdit* imageUrl_ = nullptr;       // Edit2
  QLineEdit* imageName_ = nullptr;      // Edit9
  QLineEdit* linkedImageUrl_ = nullptr; // Edit3
  QLineEdit* imageLinkUrl_ = nullptr;   // Edit4
};

} // namespace tessera
