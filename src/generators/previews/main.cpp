// Build step: draws the sixteen table preview bitmaps into the folder named
// on the command line ("1x1.bmp" ... "4x4.bmp").
#include "generators/GeneratorTexts.h"
#include "generators/TablePreview.h"

#include <QDir>

#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  for (int columns = 1; columns <= tessera::kMaxTableColumns; ++columns) {
    for (int rows = 1; rows <= tessera::kMaxTableRows; ++rows) {
      const QString path = QDir(folder).filePath(tessera::tablePreviewFileName(columns, rows));
      if (!tessera::drawTablePreview(columns, rows).save(path, "BMP")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
      }
    }
  }
  return 0;
}
