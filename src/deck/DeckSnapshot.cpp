#include "deck/DeckSnapshot.h"

#include <QPlainTextEdit>

namespace tessera {

DeckSnapshot takeSnapshot(const QPlainTextEdit& editor, int revision) {
  return {editor.document()->toPlainText(), revision};
}

int utf16Offset(const QString& lineText, int column) {
  int offset = 0;
  for (int counted = 1; counted < column && offset < lineText.size(); ++counted)
    offset += lineText.at(offset).isHighSurrogate() && offset + 1 < lineText.size() ? 2 : 1;
  return offset;
}

} // namespace tessera
