#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace tessera::wml::agent {

// What the phone shows, as lines of runs: the window draws it, and
// screenText() writes it as a text-mode browser would.
enum TextStyle {
  StyleBold = 1,
  StyleItalic = 2,
  StyleUnderline = 4,
  StyleBig = 8,
  StyleSmall = 16,
  StyleEmphasis = 32,
  StyleStrong = 64,
};

struct ScreenRun {
  enum class Kind { Text, Input, Select, Image, CellBreak };
  Kind kind = Kind::Text;
  QString text;     // characters; an input's shown value; a list's chosen labels; an image's alt
  int style = 0;    // TextStyle bits
  int link = -1;    // the card's link this run belongs to, from 0
  int control = -1; // the input or select, from 0 in the card's order of each kind
  QString source;   // an image's src
};

enum class LineAlign { Left, Center, Right };

struct ScreenLine {
  std::vector<ScreenRun> runs;
  LineAlign align = LineAlign::Left;
  bool wrap = true;
  bool tableRow = false;
};

struct Screen {
  enum class Kind { Card, Task, Error, Menu, Edit, List, Dialog };
  Kind kind = Kind::Card;
  QString title;
  std::vector<ScreenLine> lines;
  QString leftKey;
  QString rightKey;
};

// One line's plain text: [link], [input: v], [select: l], [img: alt], " | " between cells.
QString lineText(const ScreenLine& line);
// Title (all but task and error screens), one line per screen line, then "left | right".
QString screenText(const Screen& screen);

// A screen of plain lines (task and error screens).
ScreenLine plainLine(const QString& text);
// A line holding the one text field of an edit or prompt screen (control 0).
ScreenLine inputLine(const QString& text);

} // namespace tessera::wml::agent
