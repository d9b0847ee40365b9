#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QString>
#include <QTextOption>

#include <array>

class QPlainTextEdit;

namespace tessera {

// What decides where the editor wraps a line. When any of it changes,
// every row count measured under the old values is void.
struct RowLayoutParams {
  bool wrapping = false;
  qreal width = 0; // the width the editor lays its text out to
  QFont font;
  QTextOption::WrapMode wrapMode = QTextOption::WrapAtWordBoundaryOrAnywhere;
  QTextOption::Flags flags;
  qreal tabStop = 0;
  qreal margin = 0;

  static RowLayoutParams of(const QPlainTextEdit& edit);
  bool operator==(const RowLayoutParams& other) const;
};

// Breaks one line of text into display rows exactly as the editor's own
// layout does, skipping the layout for lines that plainly fit one row.
class RowMeasure {
public:
  explicit RowMeasure(const RowLayoutParams& params);

  int rowCount(const QString& text) const;
  // Start offsets of the rows within `text`; the first is 0.
  QList<int> rowStarts(const QString& text) const;
  // Whether `text` surely fits one row without laying it out.
  bool fitsOneRow(const QString& text) const;

private:
  static constexpr float kNoGuess = -1; // controls, tabs, soft hyphen
  static constexpr float kUnmeasured = -2;
  float advanceOf(char16_t latin1) const;

  RowLayoutParams params_;
  QTextOption option_;
  QFontMetricsF metrics_;
  qreal available_ = 0;
  // Advance of each Latin-1 character, measured when first met: measuring
  // all of them at once loads some two hundred glyphs, most of which a
  // document never shows.
  mutable std::array<float, 256> advance_{};
  mutable qreal slack_ = 0;
};

} // namespace tessera
