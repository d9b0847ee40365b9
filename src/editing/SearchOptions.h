#pragma once

class QCheckBox;
class QWidget;

namespace tessera {

// The option boxes that the find and replace boxes show but do not offer:
// matching is always case-sensitive and never by whole words.
QCheckBox* addWholeWordBox(QWidget* parent);
QCheckBox* addMatchCaseBox(QWidget* parent);

} // namespace tessera
