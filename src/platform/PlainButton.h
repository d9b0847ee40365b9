#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace tessera {

// A named push button that is never its window's default button, so Enter
// in a field of a dialog does not press it.
QPushButton* plainButton(const QString& caption, const QString& name, QWidget* parent = nullptr);

} // namespace tessera
