#pragma once

#include <QFrame>

class QLabel;
class QToolButton;

namespace tessera {

// A bar above the editor that tells something without stopping the work
// (how a file was read), until its close button hides it or the next
// notice replaces it.
class NoticeBar : public QFrame {
  Q_OBJECT
public:
  explicit NoticeBar(QWidget* parent = nullptr);

  // Shows `text`; an empty text hides the bar.
  void showNotice(const QString& text);
  QString text() const;
  QToolButton* closeButton() const { return close_; }

private:
  // The pictures are looked up when the first notice is shown: most
  // sessions never show one, and the look-up would cost every start.
  void showPictures();

  QLabel* picture_;
  QLabel* label_;
  QToolButton* close_;
};

} // namespace tessera
