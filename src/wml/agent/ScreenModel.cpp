#include "wml/agent/ScreenModel.h"

namespace tessera::wml::agent {

QString lineText(const ScreenLine& line) {
  QString text;
  int openLink = -1;
  for (const ScreenRun& run : line.runs) {
    if (run.link != openLink) {
      if (openLink >= 0)
        text += u']';
      if (run.link >= 0)
        text += u'[';
      openLink = run.link;
    }
    switch (run.kind) {
    case ScreenRun::Kind::Text: text += run.text; break;
    case ScreenRun::Kind::Input: text += QStringLiteral("[input: %1]").arg(run.text); break;
    case ScreenRun::Kind::Select: text += QStringLiteral("[select: %1]").arg(run.text); break;
    case ScreenRun::Kind::Image: text += QStringLiteral("[img: %1]").arg(run.text); break;
    case ScreenRun::Kind::CellBreak: text += QStringLiteral(" | "); break;
    }
  }
  if (openLink >= 0)
    text += u']';
  return text;
}

QString screenText(const Screen& screen) {
  QStringList lines;
  if (screen.kind != Screen::Kind::Task && screen.kind != Screen::Kind::Error)
    lines << screen.title;
  for (const ScreenLine& line : screen.lines)
    lines << lineText(line);
  lines << screen.leftKey + QStringLiteral(" | ") + screen.rightKey;
  return lines.join(u'\n');
}

ScreenLine plainLine(const QString& text) {
  ScreenLine line;
  ScreenRun run;
  run.text = text;
  line.runs.push_back(run);
  return line;
}

ScreenLine inputLine(const QString& text) {
  ScreenLine line;
  ScreenRun field;
  field.kind = ScreenRun::Kind::Input;
  field.text = text;
  field.control = 0;
  line.runs.push_back(field);
  return line;
}

} // namespace tessera::wml::agent
