#include "platform/Hint.h"

#include <QAction>
#include <QWidget>

namespace tessera {

void setHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(hint);
  widget->setStatusTip(hint);
}

void setHint(QAction* action, const QString& hint) {
  action->setToolTip(hint);
  action->setStatusTip(hint);
}

} // namespace tessera
