#include "deck/ProblemsDock.h"

#include "deck/ProblemsList.h"

namespace tessera {

ProblemsDock::ProblemsDock(QWidget* parent)
    : QDockWidget(QStringLiteral("Problems"), parent), list_(new ProblemsList(this)) {
  setObjectName(QStringLiteral("ProblemsDock"));
  setAllowedAreas(Qt::BottomDockWidgetArea);
  setFeatures(QDockWidget::DockWidgetClosable);
  setWidget(list_);
  hide();
}

} // namespace tessera
