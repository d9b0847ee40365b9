#pragma once

#include "generators/GeneratorDialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tessera {

class EditorView;

// The drop-down menu editor: choose how many items, name the menu, fill in
// each item's name and link, generate the source, edit it if need be and
// insert it at the editor's caret.
class DropDownMenuEditor : public GeneratorDialog {
  Q_OBJECT
public:
  explicit DropDownMenuEditor(EditorView& editor, QWidget* parent = nullptr);

  // The window's steps, as its buttons run them.
  void confirmSetup();   // "I am ready!"
  void generateSource(); // "Sourcecode generating"
  void insertSource();   // "Insert"
  void retry();

  // The source as it stands in the window, with CR LF line breaks.
  QString sourceText() const;

protected:
  void reset() override { retry(); }

private:
  struct ItemFields {
    QGroupBox* frame = nullptr;
    QLabel* nameLabel = nullptr;
    QLineEdit* name = nullptr;
    QLabel* linkLabel = nullptr;
    QLineEdit* link = nullptr;
  };

  void buildSetup();
  void buildItems();
  void buildSource();
  void buildFocusOrder();
  int itemCount() const { return countGroup_.chosen(); }

  EditorView& editor_;
  RadioGroup countGroup_;
  QLineEdit* menuName_ = nullptr;
  QPushButton* readyButton_ = nullptr;
  ItemFields items_[4];
  QPushButton* generateButtons_[4] = {};
  QPushButton* generatePlaceholder_ = nullptr;
  QGroupBox* sourceFrame_ = nullptr;
  QPlainTextEdit* source_ = nullptr;
  QPushButton* insertButton_ = nullptr;
  QPushButton* insertPlaceholder_ = nullptr;
  QPushButton* retryButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

} // namespace tessera
