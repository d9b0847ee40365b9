#pragma once

#include "wml/Finding.h"
#include "wml/LibxmlReport.h"
#include "wml/Positions.h"

struct _xmlError;

namespace tessera::wml {

// Copies what the checker needs out of a libxml2 error (which libxml2 frees).
LibxmlReport reportOf(const _xmlError& error);

// A well-formedness error or parser warning as a finding, at libxml2's line
// and column; an undefined entity is worded as such and placed at its "&".
Finding findingOfParseReport(const LibxmlReport& report, const LineIndex& lines,
                             const QByteArray& utf8);

} // namespace tessera::wml
