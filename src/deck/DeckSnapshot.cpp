#include "deck/DeckSnapshot.h"

#include "editor/TextDocument.h"

namespace tessera {

DeckSnapshot takeSnapshot(const TextDocument& document, int revision) {
  return {document.snapshot().text, revision};
}

int utf16Offset(const QString& lineText, int column) {
  int offset = 0;
  for (int counted = 1; counted < column && offset < lineText.size(); ++counted)
    offset += lineText.at(offset).isHighSurrogate() && offset + 1 < lineText.size() ? 2 : 1;
  return offset;
}

} // namespace tessera
