#pragma once

#include "editor/Insertion.h"

#include <QDialog>
#include <QLabel>
#include <QStyle>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tessera {

class EditorView;

// A modal element window: fixed border with only the system menu, centred
// on the screen each time it shows. It shows no tool-tip bubbles; the hint
// of the control under the pointer goes to the main window's status line.
class ElementDialog : public QDialog {
  Q_OBJECT
public:
  explicit ElementDialog(QWidget* mainWindow);

protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
};

// A push button with a standard picture that is never the window's default
// button, so Enter in a field does not press it.
QPushButton* dialogButton(const QString& text, const char* name, QStyle::StandardPixmap icon,
                          QWidget* parent);

// A hint that shows only in the status line, never as a bubble.
void setStatusHint(QWidget* widget, const QString& hint);

// Empties the main window's hint panel as a secondary window hides: the
// pointer may still rest on one of its controls, whose hint must not stay.
void clearStatusHint(QWidget* mainWindow);

// The green/red "on"/"off" label of an optional field: a hand cursor and a
// click signal.
class SwitchLabel : public QLabel {
  Q_OBJECT
public:
  SwitchLabel(const QString& text, const QColor& color, QWidget* parent = nullptr);
signals:
  void clicked();

protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// A double click selects the whole text of the field instead of one word.
void selectWholeFieldOnDoubleClick(QLineEdit* field);

// The URL history of an editable combo box: `url` is appended to its list
// unless the list already holds it in any letter case.
void rememberUrl(QComboBox* box, const QString& url);

// Inserts for a modal window: the editor takes the text and becomes the
// control that has the focus once the window closes, without activating
// the main window under the modal one.
void insertFromDialog(EditorView& editor, const Insertion& insertion);

} // namespace tessera
