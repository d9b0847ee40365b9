#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

// Everything that stops the program to ask the person something goes
// through this interface: the program uses QtPrompts, tests a ScriptedPrompts.
namespace tessera {

// A file dialog request: what the dialog shows and proposes.
struct FileDialogRequest {
  QString title;
  QStringList filters;   // "WML Files (*.wml)", ... ; the first is chosen
  QString initialName;   // proposed file name (may be empty)
  QString defaultSuffix; // added when a name is typed without extension
  bool confirmOverwrite = false;
};

class Prompts {
public:
  virtual ~Prompts() = default;

  // A message box. Returns the button pressed; Escape or the close box
  // give the escape button (Cancel / No / Ok, as the platform decides).
  virtual QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                              const QString& caption, const QString& text,
                                              QMessageBox::StandardButtons buttons) = 0;
  // A question answered by one of `buttons` (their texts, in order; the
  // last is the one Escape and the close box give). Returns its index.
  virtual int choose(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                     const QString& text, const QStringList& buttons) = 0;
  // Returns the chosen file name, or an empty string when cancelled.
  virtual QString openFileName(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual QString saveFileName(QWidget* parent, const FileDialogRequest& request) = 0;
  // Returns the chosen folder, or an empty string when cancelled.
  virtual QString folderName(QWidget* parent, const QString& title) = 0;
  // Returns the chosen colour, or an invalid colour when cancelled.
  virtual QColor chooseColor(QWidget* parent, const QColor& initial) = 0;
  // The system's default beep.
  virtual void beep() = 0;

  // Shorthands for the program's standard boxes.
  void error(QWidget* parent, const QString& text);
  QMessageBox::StandardButton confirm(QWidget* parent, const QString& text,
                                      QMessageBox::StandardButtons buttons);
  void information(QWidget* parent, const QString& text);
};

} // namespace tessera
