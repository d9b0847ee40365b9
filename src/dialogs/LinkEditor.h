#pragma once

#include "dialogs/DialogSupport.h"

class QComboBox;
class QPushButton;

namespace tessera {

class EditorView;

// The Link Editor: turns the editor's selection into a link. It remembers
// the URLs used with it for the run; every closing puts its fields back.
class LinkEditor : public ElementDialog {
  Q_OBJECT
public:
  LinkEditor(EditorView& editor, QWidget* mainWindow);

  static inline const QString kUrlStart = QStringLiteral("http://");

  QComboBox* urlBox() const { return urlBox_; }
  QComboBox* accessKeyBox() const { return accessKeyBox_; }
  bool accessKeyOn() const;
  QStringList urlHistory() const;

  // Closing by any means (OK, Cancel, close box, Escape) resets the fields.
  void done(int result) override;

public slots:
  void toggleAccessKey(); // Label2Click, for both labels
  void ok();              // BitBtn1Click
  void cancel();          // BitBtn2Click

private:
  void resetFields();
  void setAccessKeyOn(bool on);

  EditorView& editor_;
  QComboBox* urlBox_ = nullptr;
  QComboBox* accessKeyBox_ = nullptr;
  SwitchLabel* keyOnLabel_ = nullptr;
  SwitchLabel* keyOffLabel_ = nullptr;
};

} // namespace tessera
