// Build step: writes the program's 32 by 32 picture (the one the About box
// shows) as a PNG, for the desktop's icon theme.
#include "info/ProgramPicture.h"

#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output.png>\n", argv[0]);
    return 2;
  }
  if (!tessera::ProgramPicture::image().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
