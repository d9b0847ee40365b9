#pragma once

#include <QIcon>
#include <QString>

#include <initializer_list>
#include <utility>

class QBoxLayout;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tessera {
enum class EnterRule;
}

// Small helpers that lay out the tool tabs the same way: one row of labels,
// fields and buttons, named after the window layout, each with its hint.
namespace tessera::toolui {

// The row of a tab page (or of any strip of tools).
QHBoxLayout* row(QWidget* page);

QLabel* label(QBoxLayout* layout, const char* name, const QString& caption);
// A text field `width` pixels wide holding `text`.
QLineEdit* lineEdit(QBoxLayout* layout, const char* name, const QString& text, const QString& hint,
                    int width);
// The same field with the usual rules: Enter flow and select-all on double-click.
QLineEdit* ruledField(QBoxLayout* layout, const char* name, const QString& text,
                      const QString& hint, int width, EnterRule rule);
QPushButton* button(QBoxLayout* layout, const char* name, const QString& caption,
                    const QString& hint);
// The green and red labels of an optional-field switch: one caption, one
// hint, both at the same place of the row.
std::pair<QLabel*, QLabel*> switchLabels(QBoxLayout* layout, const char* green, const char* red,
                                         const QString& caption, const QString& hint);
// The OK button of a tab: also pressed by Enter while it has the focus.
QPushButton* okButton(QBoxLayout* layout, const char* name, const QString& hint);
// An editable combo box that keeps what is typed exactly (no completion,
// no items added by Enter).
QComboBox* editableCombo(QBoxLayout* layout, const char* name, const QStringList& items,
                         const QString& hint, int width);

// Puts the controls one after another in the keyboard's tab order.
void chainTabOrder(std::initializer_list<QWidget*> widgets);

// The pictures of the glyph buttons.
enum class Glyph { BrakeLine, LineOmission, AlignLeft, AlignCenter, AlignRight, Ampersand };
QIcon glyph(Glyph which);

} // namespace tessera::toolui
