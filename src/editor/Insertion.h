#pragma once

#include <QString>

namespace tessera {

// What a tool, dialog or generator asks of the source editor: insert `text`
// at the caret (replacing the selection), move the caret back by `caretBack`
// characters (a line break counting two), and, when `rerunChange` is set,
// run the editor's change handling once more so the status line shows the
// caret's final place.
struct Insertion {
  QString text;
  int caretBack = 0;
  bool rerunChange = false;
  bool operator==(const Insertion&) const = default;
};

} // namespace tessera
