#include "editor/BlockLookup.h"

#include <QTextBlock>
#include <QtGui/private/qtextdocument_p.h>

#include <algorithm>

namespace tessera {

BlockAt blockAt(const QTextDocument& document, int position) {
  const auto& map = QTextDocumentPrivate::get(&document)->blockMap();
  // The map keeps its root to itself; the leftmost line is a short climb
  // below it.
  quint32 node = quint32(map.firstNode());
  while (node != 0 && map.fragment(node)->parent != 0)
    node = map.fragment(node)->parent;
  // As the map's own look-up, summing the characters (field 0) and the
  // lines (field 1) passed on the way down.
  quint32 left = quint32(std::max(position, 0));
  BlockAt at;
  while (node != 0) {
    const QTextBlockData* f = map.fragment(node);
    const quint32 before = f->size_left_array[0];
    if (left < before) {
      node = f->left;
      continue;
    }
    if (left < before + f->size_array[0]) {
      at.number += int(f->size_left_array[1]);
      at.start += int(before);
      return at;
    }
    left -= before + f->size_array[0];
    at.number += int(f->size_left_array[1] + f->size_array[1]);
    at.start += int(before + f->size_array[0]);
    node = f->right;
  }
  const QTextBlock last = document.lastBlock();
  return {last.blockNumber(), last.position()};
}

} // namespace tessera
