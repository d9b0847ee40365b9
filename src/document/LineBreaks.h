#pragma once

#include "editor/TextFormat.h"

#include <QStringView>

namespace tessera {

// How a file's text breaks its lines, and so how saving writes them: all
// LF stays LF, all CR LF stays CR LF; lone CRs, or more than one kind, are
// written as CR LF (and the user is told when the file opens). A text with
// no break at all is written as a new document would be, with CR LF.
struct LineBreakScan {
  LineBreakStyle style = LineBreakStyle::CrLf;
  bool mixed = false; // lone CRs or more than one kind: saving changes them
};

LineBreakScan scanLineBreaks(QStringView text);

} // namespace tessera
