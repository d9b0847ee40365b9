#pragma once

#include "info/HintTypes.h"

#include <QObject>

class QWidget;

namespace tessera {

// The balloon-hint settings placed on a window. Creating one switches the
// whole application to balloon hints; the balloons take their look from the
// component on the main window.
class TStHint : public QObject {
  Q_OBJECT
public:
  // Starts from the creation defaults; the application's hint delay is left
  // alone until HintPauseTime is set.
  explicit TStHint(QObject* owner);

  const HintSettings& settings() const { return settings_; }

  QColor arrowColor() const { return settings_.arrowColor; }
  void setArrowColor(const QColor& color) { settings_.arrowColor = color; }
  QColor borderColor() const { return settings_.borderColor; }
  void setBorderColor(const QColor& color) { settings_.borderColor = color; }
  TBorderType borderType() const { return settings_.borderType; }
  void setBorderType(TBorderType type) { settings_.borderType = type; }
  QFont font() const { return settings_.font; }
  void setFont(const QFont& font) { settings_.font = font; }
  QColor fontColor() const { return settings_.fontColor; }
  void setFontColor(const QColor& color) { settings_.fontColor = color; }
  QColor hintColor() const { return settings_.hintColor; }
  void setHintColor(const QColor& color) { settings_.hintColor = color; }
  THintDirection hintDirection() const { return settings_.hintDirection; }
  void setHintDirection(THintDirection direction) { settings_.hintDirection = direction; }
  int hintPauseTime() const { return settings_.hintPauseTime; }
  // Also the application's hint delay: how long the pointer must rest.
  void setHintPauseTime(int milliseconds);
  QColor iconColor() const { return settings_.iconColor; }
  void setIconColor(const QColor& color) { settings_.iconColor = color; }
  TLook look() const { return settings_.look; }
  void setLook(TLook look) { settings_.look = look; }
  QString separator() const { return settings_.separator; }
  void setSeparator(const QString& separator) { settings_.separator = separator; }
  bool shadow() const { return settings_.shadow; }
  void setShadow(bool shadow) { settings_.shadow = shadow; }

  // The component a window of this program carries, with the values the
  // program's windows store (they differ only in the border).
  static TStHint* createForWindow(QWidget* window, const QString& name, TBorderType border);

private:
  HintSettings settings_;
};

} // namespace tessera
