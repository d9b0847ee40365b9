#include "app/StatusLine.h"

#include <QLabel>
#include <QResizeEvent>

#include <algorithm>

namespace tessera {

StatusLine::StatusLine(QWidget* parent) : QStatusBar(parent) {
  setObjectName(QStringLiteral("StatusBar1"));
  setSizeGripEnabled(false);
  static const int widths[PanelCount] = {0, 65, 70, 35, 35, 45, kEncodingPanelWidth};
  for (int p = 0; p < PanelCount; ++p) {
    auto* label = new QLabel(this);
    label->setObjectName(p == EncodingPanel ? QStringLiteral("EncodingPanel")
                                            : QStringLiteral("StatusPanel%1").arg(p));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setContentsMargins(2, 0, 2, 0);
    label->setTextFormat(Qt::PlainText);
    label->resize(widths[p], label->sizeHint().height());
    panels_[p] = label;
  }
  panels_[RowPanel]->setText(QStringLiteral("Row: 1"));
  panels_[CharPanel]->setText(QStringLiteral("Char.: 0"));
}

QString StatusLine::panelText(Panel panel) const { return panels_[panel]->text(); }

void StatusLine::addTrailingPanel(QLabel* panel) {
  panel->setParent(this);
  panel->show();
  trailing_.append(panel);
  updateGeometry();
  QResizeEvent resize(size(), size());
  resizeEvent(&resize);
}

int StatusLine::fixedWidth() const {
  int width = kFixedWidths - kEncodingPanelWidth + panels_[EncodingPanel]->width();
  for (const QLabel* panel : trailing_)
    width += panel->width();
  return width;
}

void StatusLine::showRowColumn(RowColumn where) {
  panels_[RowPanel]->setText(QStringLiteral("Row: ") + QString::number(where.row + 1));
  panels_[CharPanel]->setText(QStringLiteral("Char.: ") + QString::number(where.column));
}

void StatusLine::showFileFormat(const QString& text) {
  QLabel* label = panels_[EncodingPanel];
  label->setText(text);
  // A longer text ("windows-1252 (declared ISO-8859-1) · CR LF") widens the
  // panel rather than being cut; the hint panel gives up the room.
  const QMargins margins = label->contentsMargins();
  const int wanted = std::max(int(kEncodingPanelWidth),
                              label->fontMetrics().horizontalAdvance(text) + margins.left() +
                                  margins.right() + 2 * label->frameWidth() + 4);
  if (wanted != label->width()) {
    label->resize(wanted, label->height());
    updateGeometry();
    QResizeEvent resize(size(), size());
    resizeEvent(&resize);
  }
}

void StatusLine::showHint(const QString& hint) {
  if (panels_[HintPanel]->text() != hint)
    panels_[HintPanel]->setText(hint);
}

void StatusLine::showLockKeys(const LockKeyState& state) {
  const auto set = [](QLabel* label, bool on, const char* text) {
    const QString wanted = on ? QString::fromLatin1(text) : QString();
    if (label->text() != wanted)
      label->setText(wanted);
  };
  set(panels_[NumPanel], state.known && state.numLock, "NUM");
  set(panels_[CapsPanel], state.known && state.capsLock, "CAP");
  set(panels_[ScrollPanel], state.known && state.scrollLock, "SCR");
}

QSize StatusLine::sizeHint() const {
  return {fixedWidth(), panels_[RowPanel]->sizeHint().height() + 4};
}

QSize StatusLine::minimumSizeHint() const { return {0, sizeHint().height()}; }

void StatusLine::resizeEvent(QResizeEvent* event) {
  QStatusBar::resizeEvent(event);
  const int h = height() - 2;
  int x = 0;
  for (int p = 0; p < PanelCount; ++p) {
    const int w = p == HintPanel ? std::max(0, width() - fixedWidth()) : panels_[p]->width();
    panels_[p]->setGeometry(x, 2, w, h);
    x += w;
  }
  for (QLabel* panel : trailing_) {
    panel->setGeometry(x, 2, panel->width(), h);
    x += panel->width();
  }
}

} // namespace tessera
