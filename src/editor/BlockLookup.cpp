#include "editor/BlockLookup.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace tessera {

BlockAt blockAt(const QTextDocument& document, int position) {
  QTextBlock block = document.findBlock(std::max(position, 0));
  if (!block.isValid())
    block = document.lastBlock();
  return {block.blockNumber(), block.position()};
}

} // namespace tessera
