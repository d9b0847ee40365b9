#pragma once

#include <QString>

class QWidget;
class QAction;

namespace tessera {

// A control's hint: shown as its tool tip and in the status line while the
// pointer is over it. Kept verbatim (trailing blanks included).
void setHint(QWidget* widget, const QString& hint);
void setHint(QAction* action, const QString& hint);

} // namespace tessera
