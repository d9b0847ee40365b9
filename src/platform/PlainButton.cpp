#include "platform/PlainButton.h"

#include <QPushButton>

namespace tessera {

QPushButton* plainButton(const QString& caption, const QString& name, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

} // namespace tessera
