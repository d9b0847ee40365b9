#pragma once

#include <QWidget>

namespace tessera {

// The program's 32 by 32 picture: a phone whose screen shows a page of
// markup. Drawn, not loaded, over a transparent background.
class ProgramPicture : public QWidget {
  Q_OBJECT
public:
  explicit ProgramPicture(QWidget* parent = nullptr);
  static QImage image();
  QSize sizeHint() const override { return {32, 32}; }

protected:
  void paintEvent(QPaintEvent* event) override;
};

} // namespace tessera
