#include "platform/Prompts.h"

#include "platform/Product.h"

namespace tessera {

void Prompts::error(QWidget* parent, const QString& text) {
  message(parent, QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok);
}

QMessageBox::StandardButton Prompts::confirm(QWidget* parent, const QString& text,
                                             QMessageBox::StandardButtons buttons) {
  return message(parent, QMessageBox::Question, QStringLiteral("Confirm"), text, buttons);
}

void Prompts::information(QWidget* parent, const QString& text) {
  message(parent, QMessageBox::Information, kProgramTitle, text, QMessageBox::Ok);
}

} // namespace tessera
