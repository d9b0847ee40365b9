#include "info/StHint.h"

#include "info/BalloonHints.h"

#include <QWidget>

namespace tessera {

QFont defaultHintFont() {
  QFont font(QStringLiteral("MS Sans Serif"), 9);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

TStHint::TStHint(QObject* owner) : QObject(owner) { BalloonHints::install(); }

void TStHint::setHintPauseTime(int milliseconds) {
  settings_.hintPauseTime = milliseconds;
  BalloonHints::install().setHintPause(milliseconds);
}

TStHint* TStHint::createForWindow(QWidget* window, const QString& name, TBorderType border) {
  auto* hint = new TStHint(window);
  hint->setObjectName(name);
  hint->setArrowColor(Qt::black);
  hint->setBorderColor(Qt::black);
  hint->setBorderType(border);
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(12);
  hint->setFont(font);
  hint->setFontColor(Qt::black);
  hint->setHintColor(Qt::white);
  hint->setHintDirection(hdUpLeft);
  hint->setHintPauseTime(250);
  hint->setIconColor(QColor(166, 202, 240)); // sky blue
  hint->setLook(hlStHint);
  hint->setSeparator(QStringLiteral("@"));
  hint->setShadow(true);
  return hint;
}

} // namespace tessera
