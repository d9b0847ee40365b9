#pragma once

#include <QDockWidget>

namespace tessera {

class ProblemsList;

// The dock at the bottom of the main window that holds the problems list.
// Hidden until the user asks for a check.
class ProblemsDock : public QDockWidget {
  Q_OBJECT
public:
  explicit ProblemsDock(QWidget* parent = nullptr);
  ProblemsList* list() const { return list_; }

private:
  ProblemsList* list_;
};

} // namespace tessera
