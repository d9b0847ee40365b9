#pragma once

#include "deck/DeckCheckRunner.h"

class QPlainTextEdit;

namespace tessera {

// The text to check, taken on the main thread once the user has paused;
// the one place to change when the document model offers its own snapshot.
DeckSnapshot takeSnapshot(const QPlainTextEdit& editor, int revision);

// The offset within a line's text of a 1-based character column (a
// character outside the Basic Multilingual Plane counts one column but two
// UTF-16 units); the line's end for a column past it.
int utf16Offset(const QString& lineText, int column);

} // namespace tessera
