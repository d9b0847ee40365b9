#include "document/LineBreaks.h"

namespace tessera {

namespace {
bool everyCrStartsCrLf(QStringView text) {
  for (qsizetype at = text.indexOf(u'\r'); at >= 0; at = text.indexOf(u'\r', at + 2))
    if (at + 1 >= text.size() || text[at + 1] != u'\n')
      return false;
  return true;
}
} // namespace

LineBreakScan scanLineBreaks(QStringView text) {
  // Counting runs far faster than a walk character by character, and most
  // files settle the question with the counts alone.
  const qsizetype crs = text.count(u'\r');
  const qsizetype lfs = text.count(u'\n');
  LineBreakScan scan;
  if (crs == 0) {
    scan.style = lfs > 0 ? LineBreakStyle::Lf : LineBreakStyle::CrLf;
    return scan;
  }
  scan.style = LineBreakStyle::CrLf;
  scan.mixed = !(crs == lfs && everyCrStartsCrLf(text));
  return scan;
}

} // namespace tessera
