#include "deck/ProblemsDock.h"

#include "deck/ProblemsList.h"

namespace tessera {

ProblemsDock::ProblemsDock(QWidget* parent) : QDockWidget(QStringLiteral("Problems"), parent) {
  setObjectName(QStringLiteral("ProblemsDock"));
  setAllowedAreas(Qt::BottomDockWidgetArea);
  setFeatures(QDockWidget::DockWidgetClosable);
  hide();
}

ProblemsList* ProblemsDock::list() {
  if (!list_) {
    list_ = new ProblemsList(this);
    connect(list_, &ProblemsList::problemChosen, this, &ProblemsDock::problemChosen);
    setWidget(list_);
  }
  return list_;
}

void ProblemsDock::setVisible(bool visible) {
  if (visible)
    list();
  QDockWidget::setVisible(visible);
}

} // namespace tessera
