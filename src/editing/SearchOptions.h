#pragma once

class QCheckBox;
class QDialog;
class QLineEdit;
class QWidget;

namespace tessera {

// The option boxes that the find and replace boxes show but do not offer:
// matching is always case-sensitive and never by whole words.
QCheckBox* addWholeWordBox(QWidget* parent);
QCheckBox* addMatchCaseBox(QWidget* parent);

// Brings a find or replace box to the front with its find field's text
// selected, so typing replaces it.
void showSearchBox(QDialog* box, QLineEdit* findEdit);

} // namespace tessera
