#include "deck/CompiledSizePanel.h"

namespace tessera {

CompiledSizePanel::CompiledSizePanel(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("CompiledSizePanel"));
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Sunken);
  setContentsMargins(2, 0, 2, 0);
  setTextFormat(Qt::PlainText);
  setAutoFillBackground(true);
  // Wide enough for the largest deck a phone could take, so the panels
  // beside it never move.
  const int textWidth = fontMetrics().horizontalAdvance(sizeText(99999));
  resize(textWidth + 2 * frameWidth() + 4 + 6, sizeHint().height());
  refresh();
}

QString CompiledSizePanel::sizeText(int size, const QString& format) {
  return size < 0 ? QString() : QStringLiteral("%1 %2 B").arg(format).arg(size);
}

void CompiledSizePanel::setFormat(const QString& format) {
  format_ = format;
  refresh();
}

void CompiledSizePanel::showSize(int size) {
  size_ = size;
  refresh();
}

void CompiledSizePanel::setBudget(int budget) {
  budget_ = budget;
  refresh();
}

void CompiledSizePanel::refresh() {
  setText(sizeText(size_, format_));
  QPalette colours = parentWidget() ? parentWidget()->palette() : QPalette();
  if (overBudget()) {
    colours.setColor(QPalette::Window, QColor(0xC0, 0x00, 0x00));
    colours.setColor(QPalette::WindowText, Qt::white);
  }
  setPalette(colours);
  setToolTip(overBudget() ? QStringLiteral("Over the phone budget of %1 bytes").arg(budget_)
                          : QString());
}

} // namespace tessera
