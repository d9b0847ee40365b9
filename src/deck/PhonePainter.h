#pragma once

#include "wml/agent/ScreenModel.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace tessera {

// The three phone screens the preview offers, in device pixels.
struct PhoneProfile {
  QString label;
  QSize size;
  int fontPixels;
};
const std::vector<PhoneProfile>& phoneProfiles();

// Something the user can move to with the arrow keys: a link, an input, a
// list, or a row of a menu or list screen.
struct FocusTarget {
  enum class Kind { Link, Input, Select, Row };
  Kind kind = Kind::Link;
  int index = 0;
  QRect rect; // in body coordinates
  bool operator==(const FocusTarget& other) const {
    return kind == other.kind && index == other.index;
  }
};

using ImageSource = std::function<QImage(const QString& source)>;

// A screen laid out on a phone's display: title band, body rows (wrapped,
// aligned, with images and table cells), soft key band.
class PhoneLayout {
public:
  PhoneLayout(const wml::agent::Screen& screen, const PhoneProfile& profile,
              const ImageSource& images);

  // Paints at device size; `scroll` moves the body up, `focus` is an index
  // into focusTargets() or -1.
  void paint(QPainter& painter, int scroll, int focus) const;
  const std::vector<FocusTarget>& focusTargets() const { return targets; }
  // What a press at a device point hits: the index of a focus target in the
  // body (scrolled by `scroll`) or -1; the soft key (1 left, 2 right) in the
  // bottom band, or 0.
  int targetAt(QPoint point, int scroll) const;
  int softKeyAt(QPoint point) const;
  // Where focus target `index` is on the display, the body scrolled by
  // `scroll` (it may lie outside the view).
  QRect targetOnDisplay(int index, int scroll) const;
  int bodyHeight() const { return contentHeight; }
  int viewHeight() const;

private:
  struct Piece {
    QRect rect;
    QString text;
    QFont font;
    QImage image;
    bool underline = false;
    bool boxed = false; // an input or list field
    int target = -1;
  };
  void layOut(const wml::agent::Screen& screen, const ImageSource& images);
  void layOutLine(const wml::agent::ScreenLine& line, int lineIndex, const ImageSource& images);
  int targetFor(FocusTarget::Kind kind, int index);
  QFont fontFor(int style) const;

  wml::agent::Screen screen;
  PhoneProfile profile;
  QFont baseFont;
  int bandHeight = 0;
  int contentHeight = 0;
  std::vector<Piece> pieces;
  std::vector<FocusTarget> targets;
  int y = 0;
};

} // namespace tessera
