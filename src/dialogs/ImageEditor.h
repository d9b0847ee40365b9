#pragma once

#include "dialogs/DialogSupport.h"

class QComboBox;
class QGroupBox;
class QPushButton;
class QLineEdit;
class QTabWidget;

namespace tessera {

class Prompts;
class EditorView;

// The image and image-link editor. Its two tabs share the image name and
// URL (each field mirrors its twin on the other tab); Insert and Cancel put
// the fields back, the close box keeps them for the next opening.
class ImageEditor : public ElementDialog {
  Q_OBJECT
public:
  enum Page { ImagePage, ImageLinkPage };

  ImageEditor(EditorView& editor, Prompts& prompts, QWidget* mainWindow);

  static inline const QString kNameStart = QStringLiteral("picture");
  static inline const QString kUrlStart = QStringLiteral("http://");
  // The file types the Browse box offers, the first one chosen.
  static QStringList imageFilters();

  QTabWidget* pages() const { return pages_; }
  QLineEdit* imageName() const { return imageName_; }         // Edit3
  QLineEdit* imageUrl() const { return imageUrl_; }           // Edit4
  QLineEdit* linkImageName() const { return linkImageName_; } // Edit1
  QLineEdit* linkImageUrl() const { return linkImageUrl_; }   // Edit2
  QComboBox* linkUrlBox() const { return linkUrlBox_; }       // ComboBox1
  QStringList linkUrlHistory() const;

public slots:
  void browse();          // BitBtn4Click, both Browse buttons
  void insertImage();     // BitBtn7Click
  void insertImageLink(); // BitBtn5Click
  void cancel();          // BitBtn6Click

private:
  // The object names of one tab's "General settings" group and its controls.
  struct GeneralNames {
    const char* group;
    const char* nameLabel;
    const char* nameField;
    const char* urlLabel;
    const char* urlField;
    const char* browse;
  };

  QWidget* buildImagePage();
  QWidget* buildImageLinkPage();
  QGroupBox* buildGeneralGroup(QWidget* page, const GeneralNames& names, QLineEdit*& name,
                               QLineEdit*& url);
  QLineEdit* makeField(QWidget* parent, const char* name, const QString& text, const QString& hint);
  QPushButton* makeInsertButton(QWidget* page, const char* name, const QString& hint,
                                void (ImageEditor::*insert)());
  void alignFieldColumns();
  void mirror(QLineEdit* from, QLineEdit* to);

  EditorView& editor_;
  Prompts& prompts_;
  QTabWidget* pages_ = nullptr;
  QLineEdit* imageName_ = nullptr;
  QLineEdit* imageUrl_ = nullptr;
  QLineEdit* linkImageName_ = nullptr;
  QLineEdit* linkImageUrl_ = nullptr;
  QComboBox* linkUrlBox_ = nullptr;
};

} // namespace tessera
