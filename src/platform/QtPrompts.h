#pragma once

#include "platform/Prompts.h"

namespace tessera {

// The real dialogs of the desktop.
class QtPrompts : public Prompts {
public:
  QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                      const QString& caption, const QString& text,
                                      QMessageBox::StandardButtons buttons) override;
  int choose(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
             const QStringList& buttons) override;
  QString openFileName(QWidget* parent, const FileDialogRequest& request) override;
  QString saveFileName(QWidget* parent, const FileDialogRequest& request) override;
  QString folderName(QWidget* parent, const QString& title) override;
  QColor chooseColor(QWidget* parent, const QColor& initial) override;
  void beep() override;
};

} // namespace tessera
