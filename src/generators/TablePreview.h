#pragma once

#include <QImage>
#include <QString>

// The preview pictures of the table editor: drawn once by the build, read
// from the data folder beside the program whenever a table shape is chosen.
namespace tessera {

inline constexpr int kPreviewWidth = 193;
inline constexpr int kPreviewHeight = 145;

// A grid of `columns` by `rows` cells on a plain background; the background
// is the bottom-left pixel, so it is the colour left out when drawn.
QImage drawTablePreview(int columns, int rows);

// The data folder beside the executable, or share/tessera/data of an
// installed program.
QString defaultPreviewFolder();

struct LoadedPreview {
  QImage image;      // with the background made transparent; null on failure
  QString errorText; // the message to show when loading failed
  bool ok() const { return !image.isNull(); }
};

// Reads the Windows bitmap at `path`. A file that cannot be opened and one
// that is not a valid bitmap each give their own error text.
LoadedPreview loadPreview(const QString& path);

// Pixels of the bottom-left pixel's colour become fully transparent.
QImage withTransparentBackground(const QImage& image);

} // namespace tessera
