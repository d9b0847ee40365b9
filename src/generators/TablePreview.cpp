#include "generators/TablePreview.h"

#include "document/DocumentFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

namespace tessera {

namespace {
const QColor kBackground(255, 255, 255);
const QColor kGridLine(64, 64, 64);
const QColor kCellFill(221, 232, 245);
const QColor kTextBar(120, 132, 150);
constexpr int kMargin = 6;
} // namespace

QImage drawTablePreview(int columns, int rows) {
  QImage image(kPreviewWidth, kPreviewHeight, QImage::Format_RGB888);
  image.fill(kBackground);
  QPainter painter(&image);
  const QRect table(kMargin, kMargin, kPreviewWidth - 2 * kMargin, kPreviewHeight - 2 * kMargin);
  painter.fillRect(table, kCellFill);

  // Cell borders on exact pixel columns so every shape looks equally crisp.
  const auto xAt = [&](int i) { return table.left() + (table.width() - 1) * i / columns; };
  const auto yAt = [&](int j) { return table.top() + (table.height() - 1) * j / rows; };
  for (int j = 0; j < rows; ++j) {
    for (int i = 0; i < columns; ++i) {
      // A short bar stands for the placeholder text in each cell.
      const QRect cell(QPoint(xAt(i), yAt(j)), QPoint(xAt(i + 1), yAt(j + 1)));
      const int barWidth = qMax(4, cell.width() * 3 / 5);
      const int barHeight = qMax(2, qMin(6, cell.height() / 6));
      painter.fillRect(QRect(cell.center().x() - barWidth / 2, cell.center().y() - barHeight / 2,
                             barWidth, barHeight),
                       kTextBar);
    }
  }
  painter.setPen(kGridLine);
  for (int i = 0; i <= columns; ++i)
    painter.drawLine(xAt(i), table.top(), xAt(i), table.bottom());
  for (int j = 0; j <= rows; ++j)
    painter.drawLine(table.left(), yAt(j), table.right(), yAt(j));
  // A doubled outer frame, as tables are usually drawn.
  painter.drawRect(table.adjusted(1, 1, -2, -2).adjusted(-1, -1, 1, 1));
  painter.drawRect(table.adjusted(1, 1, -2, -2));
  painter.end();
  return image;
}

QString defaultPreviewFolder() {
  const QString programFolder = QCoreApplication::applicationDirPath();
  const QString beside = programFolder + QStringLiteral("/data/");
  if (QFileInfo(beside).isDir())
    return beside;
  // An installed program keeps its data under share/, not in bin/.
  const QString installed =
      QDir::cleanPath(programFolder + QStringLiteral("/../share/tessera/data"));
  if (QFileInfo(installed).isDir())
    return installed + QLatin1Char('/');
  return beside;
}

QImage withTransparentBackground(const QImage& image) {
  if (image.isNull())
    return image;
  QImage result = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = result.pixel(0, result.height() - 1);
  for (int y = 0; y < result.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x)
      if (line[x] == key)
        line[x] = qRgba(0, 0, 0, 0);
  }
  return result;
}

LoadedPreview loadPreview(const QString& path) {
  LoadedPreview loaded;
  const QString fullPath = QFileInfo(path).absoluteFilePath();
  QFile file(fullPath);
  if (QFileInfo(fullPath).isDir()) {
    loaded.errorText = cannotOpenFileText(fullPath, QStringLiteral("Is a directory"));
    return loaded;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    loaded.errorText = cannotOpenFileText(fullPath, file.errorString());
    return loaded;
  }
  // A preview is a few kilobytes; anything far larger is not one of ours
  // and must not be read into memory whole.
  constexpr qint64 kLimit = qint64(16) << 20;
  const QByteArray bytes = file.read(kLimit + 1);
  QImage image;
  if (bytes.size() > kLimit || !image.loadFromData(bytes, "BMP")) {
    loaded.errorText = QStringLiteral("Bitmap image is not valid");
    return loaded;
  }
  loaded.image = withTransparentBackground(image);
  return loaded;
}

} // namespace tessera
