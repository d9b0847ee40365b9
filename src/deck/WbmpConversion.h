#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

// Pictures for the phones: one bit per pixel, black or white, written as
// WBMP (type 0) by Qt's image formats plugin.
namespace tessera {

enum class Dithering { Threshold, Ordered, Diffusion };

constexpr int kDefaultThreshold = 128;

// Black where the pixel's grey is below `threshold` (0-255), white
// elsewhere; transparent pixels count as white, the phone's background.
// Ordered dithering moves the threshold by a 4x4 Bayer matrix around the
// chosen one; error diffusion (Floyd-Steinberg) carries each pixel's
// rounding error on to its neighbours. The result is Format_Mono with
// colour 0 black and 1 white.
QImage toOneBit(const QImage& source, Dithering dithering, int threshold = kDefaultThreshold);

// The WBMP file of a one-bit image; empty when the image formats plugin
// is missing.
QByteArray wbmpBytes(const QImage& oneBit);

// The dithering a command-line word names ("threshold", "ordered",
// "diffusion").
std::optional<Dithering> ditheringNamed(const QString& word);

} // namespace tessera
