#pragma once

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

class QFontMetrics;

// How a plain-text listing falls onto printed pages. Pure: the device that
// prints only paints what this computes, so every rule can be checked with
// made-up font measures.
namespace tessera {

// The measures of the printing font, in device pixels.
class TextMeasure {
public:
  virtual ~TextMeasure() = default;
  virtual int width(QStringView text) const = 0;
  virtual int height() const = 0; // of any printed text and of one character
  virtual int averageCharWidth() const = 0;
};

// A real font on a real device.
class FontMeasure : public TextMeasure {
public:
  explicit FontMeasure(const QFontMetrics& metrics);
  ~FontMeasure() override;
  int width(QStringView text) const override;
  int height() const override;
  int averageCharWidth() const override;

private:
  const QFontMetrics& metrics_;
};

// One piece of text and the top-left corner where it is printed.
struct PlacedText {
  QPoint topLeft;
  QString text;
  bool operator==(const PlacedText&) const = default;
};

struct PrintedPage {
  QList<PlacedText> texts;
  bool operator==(const PrintedPage&) const = default;
};

// Only this many characters of a line are printed.
inline constexpr int kMaxPrintedLineLength = 4096;
// A tab advances to the next multiple of this many average character widths.
inline constexpr int kTabStopChars = 8;

// Lays `lines` out on pages of the printable `area`, each line starting a
// new printed line. A job always has at least one page.
QList<PrintedPage> layoutListing(const QStringList& lines, const TextMeasure& measure, QSize area);

} // namespace tessera
