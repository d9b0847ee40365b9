#pragma once

#include <QDockWidget>

namespace tessera {

class ProblemsList;

// The dock at the bottom of the main window that holds the problems list.
// Hidden until the user asks for a check; the list inside is made when
// the dock is first shown (or asked for), since most sessions never open
// it and a list view lays itself out even while hidden.
class ProblemsDock : public QDockWidget {
  Q_OBJECT
public:
  explicit ProblemsDock(QWidget* parent = nullptr);
  ProblemsList* list();
  // Showing makes the list first, so it is shown with the dock.
  void setVisible(bool visible) override;

signals:
  // A row of the list was chosen: its 1-based line and character column.
  void problemChosen(int line, int column);

private:
  ProblemsList* list_ = nullptr;
};

} // namespace tessera
