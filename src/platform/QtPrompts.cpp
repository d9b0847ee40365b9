#include "platform/QtPrompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QPushButton>

namespace tessera {

// Questions and messages quote WML ("<img src=... />" in the WBMP question, a
// charset name, a problem's text): the box must show them as they are, never
// read them as rich text, which its automatic detection would.

QMessageBox::StandardButton QtPrompts::message(QWidget* parent, QMessageBox::Icon icon,
                                               const QString& caption, const QString& text,
                                               QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, caption, text, buttons, parent);
  box.setTextFormat(Qt::PlainText);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

int QtPrompts::choose(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                      const QString& text, const QStringList& buttons) {
  QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
  box.setTextFormat(Qt::PlainText);
  QList<QAbstractButton*> added;
  for (qsizetype i = 0; i < buttons.size(); ++i)
    added.append(box.addButton(buttons[i], i + 1 == buttons.size() ? QMessageBox::RejectRole
                                                                   : QMessageBox::AcceptRole));
  if (!added.isEmpty())
    box.setEscapeButton(added.last());
  box.exec();
  const qsizetype index = added.indexOf(box.clickedButton());
  return int(index >= 0 ? index : buttons.size() - 1);
}

static QString runFileDialog(QWidget* parent, const FileDialogRequest& request,
                             QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, request.title);
  dialog.setAcceptMode(mode);
  // Open takes any name too: a missing file is reported by the load, not
  // refused by the dialog.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(request.filters);
  if (!request.filters.isEmpty())
    dialog.selectNameFilter(request.filters.first());
  dialog.setDefaultSuffix(request.defaultSuffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (!request.initialName.isEmpty())
    dialog.selectFile(request.initialName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().constFirst();
}

QString QtPrompts::openFileName(QWidget* parent, const FileDialogRequest& request) {
  return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtPrompts::saveFileName(QWidget* parent, const FileDialogRequest& request) {
  return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

QString QtPrompts::folderName(QWidget* parent, const QString& title) {
  return QFileDialog::getExistingDirectory(parent, title);
}

QColor QtPrompts::chooseColor(QWidget* parent, const QColor& initial) {
  return QColorDialog::getColor(initial, parent);
}

void QtPrompts::beep() { QApplication::beep(); }

} // namespace tessera
