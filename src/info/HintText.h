#pragma once

#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>

class QPainter;

namespace tessera {

// Every occurrence of `separator` becomes a CR; an empty separator splits
// nothing.
QString applyHintSeparator(const QString& text, const QString& separator);

// Walks a hint text from `origin` and returns the extent it covers: the right
// edge of its widest line and the bottom of its last line, in the same
// coordinates as `origin`. With a painter the characters are drawn as well
// (in the painter's pen colour); without one the text is only measured.
//
// The markup: <b>, <i> and <u> (any case) switch bold, italic and underline
// on, counted, so nesting works; </b>, </i> and </u> switch them off again.
// Every tag vanishes from the text, known or not, and does not break the
// line. Only CR breaks lines. A "<" with no ">" anywhere after it is shown as
// an ordinary character.
//
// With `markup` off every character is drawn as it stands ("<do>" reads as
// written); only CR still breaks lines.
QSize DrawHintText(QPainter* painter, const QFont& font, QPoint origin, const QString& text,
                   bool markup = true);

} // namespace tessera
