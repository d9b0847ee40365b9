#pragma once

#include "wml/Positions.h"

#include <QDockWidget>

class QLabel;

namespace tessera {

class ProblemsList;

// The dock at the bottom of the main window that holds the problems list,
// and above it the summary of a site check. Hidden until the user asks for a
// check; the list inside is made when the dock is first shown (or asked
// for), since most sessions never open it and a list view lays itself out
// even while hidden. It first opens a quarter of the window high, so the
// editor keeps most of it.
class ProblemsDock : public QDockWidget {
  Q_OBJECT
public:
  explicit ProblemsDock(QWidget* parent = nullptr);
  ProblemsList* list();
  // The line above the list; an empty text hides it.
  void showSummary(const QString& text);
  QString summary() const;
  // Showing makes the list first, so it is shown with the dock.
  void setVisible(bool visible) override;

signals:
  // A row of the list was chosen: its 1-based line and character column.
  void problemChosen(tessera::LineColumn place);
  // A finding of a site check was chosen: its file's absolute path.
  void fileProblemChosen(const QString& path, tessera::LineColumn place);

private:
  ProblemsList* list_ = nullptr;
  QLabel* summary_ = nullptr;
  bool shownBefore_ = false;
};

} // namespace tessera
