#pragma once

#include "deck/DeckCheckRunner.h"

class QString;

namespace tessera {

class TextDocument;

// The text to check (the document model's snapshot: '\n' breaks, every
// character as typed), taken on the main thread once the user has paused.
DeckSnapshot takeSnapshot(const TextDocument& document, int revision);

// The offset within a line's text of a 1-based character column (a
// character outside the Basic Multilingual Plane counts one column but two
// UTF-16 units); the line's end for a column past it.
int utf16Offset(const QString& lineText, int column);

} // namespace tessera
