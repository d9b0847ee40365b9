#pragma once

#include "generators/GeneratorDialog.h"

class QLabel;
class QGroupBox;
class QPushButton;

namespace tessera {

class Prompts;
class EditorView;

// The table editor: choose columns, then rows, see the shape's preview and
// insert the table at the editor's caret.
class TableEditor : public GeneratorDialog {
  Q_OBJECT
public:
  TableEditor(EditorView& editor, Prompts& prompts, QWidget* parent = nullptr);

  // Where the preview bitmaps are read from (a folder path, "/" at the end
  // optional). Defaults to data/ beside the program.
  void setPreviewFolder(const QString& folder) { previewFolder_ = folder; }

  // The window's steps, as its buttons run them.
  void columnsReady();
  void rowsReadyOneColumn();
  void rowsReadyMoreColumns();
  void retry();

  // The Insert button of a shape; one button serves every one-column shape
  // and inserts the text prepared when the rows were confirmed.
  QPushButton* insertButton(int columns, int rows) const;

protected:
  void reset() override { retry(); }

private:
  void buildStepOne();
  void buildStepTwo();
  void buildPreviewAndButtons();
  bool showPreview(int columns, int rows);
  void insertTable(const QString& text);
  void askToSelect();

  EditorView& editor_;
  Prompts& prompts_;
  QString previewFolder_;
  QString oneColumnText_;

  RadioGroup columnsGroup_;
  QPushButton* columnsReadyButton_ = nullptr;
  RadioGroup rowGroups_[4];
  QPushButton* rowsReadyOneColumn_ = nullptr;
  QPushButton* rowsReadyMoreColumns_ = nullptr;
  QGroupBox* previewFrame_ = nullptr;
  QLabel* preview_ = nullptr;
  QPushButton* insertPlaceholder_ = nullptr;
  QPushButton* insertOneColumn_ = nullptr;
  QPushButton* insertButtons_[3][4] = {}; // 2..4 columns by 1..4 rows
  QPushButton* retryButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

} // namespace tessera
