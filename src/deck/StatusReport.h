#pragma once

#include <QCoreApplication>
#include <QStatusTipEvent>
#include <QWidget>

namespace tessera {

// Says in the main window's status line what a command did ("Compiled to
// ...: 123 bytes"). The window shows status tips in its hint panel; a tip
// sent to a secondary window would stop there, so it goes to `window`.
inline void reportInStatusLine(QWidget& window, const QString& text) {
  QStatusTipEvent tip(text);
  QCoreApplication::sendEvent(&window, &tip);
}

} // namespace tessera
