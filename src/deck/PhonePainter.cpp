#include "deck/PhonePainter.h"

#include "wml/agent/PhoneDisplays.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace tessera {

namespace {

const QColor kDisplay(0xDD, 0xE8, 0xCC); // a reflective LCD's pale green
const QColor kInk(0x18, 0x20, 0x18);
constexpr int kMargin = 2;

} // namespace

const std::vector<PhoneProfile>& phoneProfiles() {
  static const std::vector<PhoneProfile> profiles = [] {
    std::vector<PhoneProfile> made;
    for (const wml::agent::PhoneDisplay& display : wml::agent::phoneDisplays())
      made.push_back({display.label(), display.size, display.fontPixels});
    return made;
  }();
  return profiles;
}

PhoneLayout::PhoneLayout(const wml::agent::Screen& shown, const PhoneProfile& phone,
                         const ImageSource& images)
    : screen(shown), profile(phone) {
  baseFont = QFont(QStringLiteral("Liberation Sans"));
  baseFont.setPixelSize(profile.fontPixels);
  baseFont.setStyleStrategy(QFont::NoAntialias); // a phone's display has no grey
  bandHeight = QFontMetrics(baseFont).height() + 2;
  layOut(screen, images);
}

int PhoneLayout::viewHeight() const { return profile.size.height() - 2 * bandHeight; }

int PhoneLayout::targetAt(QPoint point, int scroll) const {
  if (point.y() < bandHeight || point.y() >= bandHeight + viewHeight())
    return -1;
  const QPoint inBody(point.x(), point.y() - bandHeight + scroll);
  for (size_t i = 0; i < targets.size(); ++i)
    if (targets[i].rect.contains(inBody))
      return int(i);
  return -1;
}

QRect PhoneLayout::targetOnDisplay(int index, int scroll) const {
  if (index < 0 || index >= int(targets.size()))
    return {};
  return targets[size_t(index)].rect.translated(0, bandHeight - scroll);
}

int PhoneLayout::softKeyAt(QPoint point) const {
  if (point.y() < profile.size.height() - bandHeight || point.y() >= profile.size.height())
    return 0;
  return point.x() < profile.size.width() / 2 ? 1 : 2;
}

QFont PhoneLayout::fontFor(int style) const {
  QFont font = baseFont;
  if (style & (wml::agent::StyleBold | wml::agent::StyleStrong))
    font.setBold(true);
  if (style & (wml::agent::StyleItalic | wml::agent::StyleEmphasis))
    font.setItalic(true);
  if (style & wml::agent::StyleUnderline)
    font.setUnderline(true);
  if (style & wml::agent::StyleBig)
    font.setPixelSize(profile.fontPixels + 3);
  if (style & wml::agent::StyleSmall)
    font.setPixelSize(std::max(7, profile.fontPixels - 2));
  return font;
}

int PhoneLayout::targetFor(FocusTarget::Kind kind, int index) {
  for (size_t i = 0; i < targets.size(); ++i)
    if (targets[i].kind == kind && targets[i].index == index)
      return int(i);
  FocusTarget target;
  target.kind = kind;
  target.index = index;
  targets.push_back(target);
  return int(targets.size()) - 1;
}

void PhoneLayout::layOut(const wml::agent::Screen& shown, const ImageSource& images) {
  y = 0;
  for (size_t i = 0; i < shown.lines.size(); ++i)
    layOutLine(shown.lines[i], int(i), images);
  contentHeight = y;
  for (FocusTarget& target : targets) {
    QRect united;
    for (const Piece& piece : pieces)
      if (piece.target >= 0 && targets[size_t(piece.target)] == target)
        united = united.united(piece.rect);
    target.rect = united;
  }
}

void PhoneLayout::layOutLine(const wml::agent::ScreenLine& line, int lineIndex,
                             const ImageSource& images) {
  const int width = profile.size.width() - 2 * kMargin;
  const bool rowsAreTargets = screen.kind == wml::agent::Screen::Kind::Menu ||
                              screen.kind == wml::agent::Screen::Kind::List;
  std::vector<Piece> row;
  int x = 0;
  int rowHeight = QFontMetrics(baseFont).height();
  const auto finishRow = [&] {
    const int shift = line.align == wml::agent::LineAlign::Center  ? std::max(0, (width - x) / 2)
                      : line.align == wml::agent::LineAlign::Right ? std::max(0, width - x)
                                                                   : 0;
    for (Piece& piece : row) {
      piece.rect.translate(kMargin + shift, y + rowHeight - piece.rect.height());
      pieces.push_back(piece);
    }
    row.clear();
    y += rowHeight;
    x = 0;
    rowHeight = QFontMetrics(baseFont).height();
  };
  const auto place = [&](Piece piece, int pieceWidth, int pieceHeight) {
    if (line.wrap && x > 0 && x + pieceWidth > width)
      finishRow();
    piece.rect = QRect(x, 0, pieceWidth, pieceHeight);
    x += pieceWidth;
    rowHeight = std::max(rowHeight, pieceHeight);
    row.push_back(piece);
  };

  for (const wml::agent::ScreenRun& run : line.runs) {
    int target = -1;
    if (rowsAreTargets)
      target = targetFor(FocusTarget::Kind::Row, lineIndex);
    else if (run.kind == wml::agent::ScreenRun::Kind::Input)
      target = targetFor(FocusTarget::Kind::Input, run.control);
    else if (run.kind == wml::agent::ScreenRun::Kind::Select)
      target = targetFor(FocusTarget::Kind::Select, run.control);
    else if (run.link >= 0)
      target = targetFor(FocusTarget::Kind::Link, run.link);

    Piece piece;
    piece.font = fontFor(run.style);
    piece.target = target;
    piece.underline = run.link >= 0 && !rowsAreTargets;
    const QFontMetrics metrics(piece.font);
    switch (run.kind) {
    case wml::agent::ScreenRun::Kind::Text: {
      // Words keep their following space, so a row breaks between words.
      QString word;
      for (int i = 0; i <= run.text.size(); ++i) {
        const bool end = i == run.text.size();
        if (!end)
          word += run.text.at(i);
        if (end || run.text.at(i) == u' ') {
          if (!word.isEmpty()) {
            piece.text = word;
            place(piece, metrics.horizontalAdvance(word), metrics.height());
          }
          word.clear();
        }
      }
      break;
    }
    case wml::agent::ScreenRun::Kind::Input:
    case wml::agent::ScreenRun::Kind::Select: {
      piece.boxed = true;
      piece.text = run.kind == wml::agent::ScreenRun::Kind::Select
                       ? run.text + QStringLiteral(" \u25BE")
                       : run.text;
      const int fieldWidth =
          std::min(width, std::max(metrics.horizontalAdvance(piece.text) + 6, width / 3));
      place(piece, fieldWidth, metrics.height() + 2);
      break;
    }
    case wml::agent::ScreenRun::Kind::Image: {
      QImage image = images ? images(run.source) : QImage();
      if (image.isNull()) {
        piece.text = QStringLiteral("[%1]").arg(run.text);
        place(piece, metrics.horizontalAdvance(piece.text), metrics.height());
        break;
      }
      if (image.width() > width || image.height() > viewHeight())
        image = image.scaled(width, viewHeight(), Qt::KeepAspectRatio);
      piece.image = image;
      place(piece, image.width(), image.height());
      break;
    }
    case wml::agent::ScreenRun::Kind::CellBreak:
      piece.text = QStringLiteral(" \u2502 ");
      place(piece, metrics.horizontalAdvance(piece.text), metrics.height());
      break;
    }
  }
  finishRow();
}

void PhoneLayout::paint(QPainter& painter, int scroll, int focus) const {
  const QSize size = profile.size;
  painter.fillRect(QRect(QPoint(0, 0), size), kDisplay);
  painter.setPen(kInk);

  // Title band.
  QFont titleFont = baseFont;
  titleFont.setBold(true);
  painter.setFont(titleFont);
  painter.drawText(
      QRect(kMargin, 0, size.width() - 2 * kMargin, bandHeight - 1),
      Qt::AlignCenter | Qt::TextSingleLine,
      QFontMetrics(titleFont).elidedText(screen.title, Qt::ElideRight, size.width() - 2 * kMargin));
  painter.drawLine(0, bandHeight - 1, size.width(), bandHeight - 1);

  // Body, clipped between the bands.
  const QRect body(0, bandHeight, size.width(), viewHeight());
  painter.save();
  painter.setClipRect(body);
  painter.translate(0, bandHeight - scroll);
  for (const Piece& piece : pieces) {
    const bool focused = focus >= 0 && piece.target == focus;
    if (focused)
      painter.fillRect(piece.rect, kInk);
    if (!piece.image.isNull()) {
      painter.drawImage(piece.rect.topLeft(), piece.image);
      continue;
    }
    QFont font = piece.font;
    font.setUnderline(font.underline() || piece.underline);
    painter.setFont(font);
    painter.setPen(focused ? kDisplay : kInk);
    if (piece.boxed) {
      painter.drawRect(piece.rect.adjusted(0, 0, -1, -1));
      painter.drawText(piece.rect.adjusted(3, 1, -3, -1), Qt::AlignLeft | Qt::AlignVCenter,
                       piece.text);
    } else {
      painter.drawText(piece.rect, Qt::AlignLeft | Qt::AlignBottom, piece.text);
    }
  }
  painter.restore();

  // Soft key band.
  painter.setPen(kInk);
  painter.setFont(baseFont);
  const int keysTop = size.height() - bandHeight;
  painter.drawLine(0, keysTop, size.width(), keysTop);
  const QRect keys(kMargin, keysTop + 1, size.width() - 2 * kMargin, bandHeight - 1);
  painter.drawText(keys, Qt::AlignLeft | Qt::AlignVCenter, screen.leftKey);
  painter.drawText(keys, Qt::AlignRight | Qt::AlignVCenter, screen.rightKey);
}

} // namespace tessera
