#include "deck/WbmpConversion.h"

#include <QBuffer>
#include <QImageWriter>

#include <vector>

namespace tessera {
namespace {

// Grey levels 0-255 with transparency laid on white.
std::vector<int> greyLevels(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_ARGB32);
  std::vector<int> levels(static_cast<std::size_t>(image.width()) * std::size_t(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int alpha = qAlpha(line[x]);
      const int grey = qGray(line[x]);
      levels[std::size_t(y) * std::size_t(image.width()) + std::size_t(x)] =
          (grey * alpha + 255 * (255 - alpha) + 127) / 255;
    }
  }
  return levels;
}

// Thresholds 0-15 of the 4x4 Bayer matrix.
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

} // namespace

QImage toOneBit(const QImage& source, Dithering dithering, int threshold) {
  const int width = source.width();
  const int height = source.height();
  QImage result(width, height, QImage::Format_Mono);
  result.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  result.fill(0); // the bits past the last pixel of a row too
  if (source.isNull())
    return result;
  std::vector<int> levels = greyLevels(source);
  const auto at = [&](int x, int y) -> int& {
    return levels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int limit = threshold;
      if (dithering == Dithering::Ordered)
        limit += (kBayer[y % 4][x % 4] * 2 + 1) * 255 / 32 - 127; // -119 ... +120
      const int level = at(x, y);
      const bool white = level >= limit;
      result.setPixel(x, y, white ? 1 : 0);
      if (dithering != Dithering::Diffusion)
        continue;
      const int error = level - (white ? 255 : 0);
      if (x + 1 < width)
        at(x + 1, y) += error * 7 / 16;
      if (y + 1 < height) {
        if (x > 0)
          at(x - 1, y + 1) += error * 3 / 16;
        at(x, y + 1) += error * 5 / 16;
        if (x + 1 < width)
          at(x + 1, y + 1) += error / 16;
      }
    }
  }
  return result;
}

QByteArray wbmpBytes(const QImage& oneBit) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "wbmp");
  if (!writer.write(oneBit))
    return {};
  return bytes;
}

std::optional<Dithering> ditheringNamed(const QString& word) {
  if (word == QLatin1String("threshold"))
    return Dithering::Threshold;
  if (word == QLatin1String("ordered"))
    return Dithering::Ordered;
  if (word == QLatin1String("diffusion"))
    return Dithering::Diffusion;
  return std::nullopt;
}

} // namespace tessera
