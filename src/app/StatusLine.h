#pragma once

#include "editor/SourceEditor.h"
#include "platform/Desktop.h"

#include <QStatusBar>

class QLabel;

namespace tessera {

// The status line: hint, row, column, the three lock keys and the file's
// encoding with its line-break style ("UTF-8 · LF").
class StatusLine : public QStatusBar {
  Q_OBJECT
public:
  enum Panel {
    HintPanel,
    RowPanel,
    CharPanel,
    NumPanel,
    CapsPanel,
    ScrollPanel,
    EncodingPanel,
    PanelCount
  };
  // Wide enough for the longest name ("windows-1252 · CR LF").
  static constexpr int kEncodingPanelWidth = 140;
  static constexpr int kFixedWidths = 65 + 70 + 35 + 35 + 45 + kEncodingPanelWidth;

  explicit StatusLine(QWidget* parent = nullptr);

  QString panelText(Panel panel) const;
  // A panel after the lock keys (the compiled size); it keeps its width and
  // the hint panel gives way.
  void addTrailingPanel(QLabel* panel);
  int fixedWidth() const;
  QLabel* panel(Panel p) const { return panels_[p]; }

  void showRowColumn(RowColumn where);
  void showHint(const QString& hint);
  void showLockKeys(const LockKeyState& state);
  void showFileFormat(const QString& text);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

protected:
  // Panel 0 takes all the width the fixed panels leave; the panels are
  // placed by hand so their widths are exact.
  void resizeEvent(QResizeEvent* event) override;

private:
  QLabel* panels_[PanelCount] = {};
  QList<QLabel*> trailing_;
};

} // namespace tessera
