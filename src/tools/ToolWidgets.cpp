#include "tools/ToolWidgets.h"

#include "platform/Hint.h"
#include "platform/PlainButton.h"
#include "tools/FieldRules.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>

namespace tessera::toolui {

QHBoxLayout* row(QWidget* page) {
  auto* layout = new QHBoxLayout(page);
  layout->setContentsMargins(6, 2, 6, 2);
  layout->setSpacing(5);
  return layout;
}

QLabel* label(QBoxLayout* layout, const char* name, const QString& caption) {
  auto* l = new QLabel(caption);
  l->setObjectName(QString::fromLatin1(name));
  layout->addWidget(l);
  return l;
}

QLineEdit* lineEdit(QBoxLayout* layout, const char* name, const QString& text, const QString& hint,
                    int width) {
  auto* edit = new QLineEdit(text);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setFixedWidth(width);
  setHint(edit, hint);
  layout->addWidget(edit);
  return edit;
}

QLineEdit* ruledField(QBoxLayout* layout, const char* name, const QString& text,
                      const QString& hint, int width, EnterRule rule) {
  QLineEdit* edit = lineEdit(layout, name, text, hint, width);
  setEnterRule(edit, rule);
  selectAllOnDoubleClick(edit);
  return edit;
}

std::pair<QLabel*, QLabel*> switchLabels(QBoxLayout* layout, const char* green, const char* red,
                                         const QString& caption, const QString& hint) {
  auto* place = new QWidget;
  auto* grid = new QGridLayout(place);
  grid->setContentsMargins(0, 0, 0, 0);
  QLabel* labels[2] = {new QLabel(caption), new QLabel(caption)};
  labels[0]->setObjectName(QString::fromLatin1(green));
  labels[1]->setObjectName(QString::fromLatin1(red));
  for (QLabel* l : labels) {
    setHint(l, hint);
    grid->addWidget(l, 0, 0);
  }
  layout->addWidget(place);
  return {labels[0], labels[1]};
}

QPushButton* button(QBoxLayout* layout, const char* name, const QString& caption,
                    const QString& hint) {
  QPushButton* b = plainButton(caption, QString::fromLatin1(name));
  setHint(b, hint);
  layout->addWidget(b);
  return b;
}

QPushButton* okButton(QBoxLayout* layout, const char* name, const QString& hint) {
  QPushButton* b = button(layout, name, QStringLiteral("OK"), hint);
  b->setFixedWidth(50);
  pressOnEnter(b);
  return b;
}

QComboBox* editableCombo(QBoxLayout* layout, const char* name, const QStringList& items,
                         const QString& hint, int width) {
  auto* combo = new QComboBox;
  combo->setObjectName(QString::fromLatin1(name));
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCompleter(nullptr);
  combo->addItems(items);
  combo->setFixedWidth(width);
  combo->setMaxVisibleItems(12);
  setHint(combo, hint);
  layout->addWidget(combo);
  return combo;
}

void chainTabOrder(std::initializer_list<QWidget*> widgets) {
  QWidget* previous = nullptr;
  for (QWidget* w : widgets) {
    if (previous)
      QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

// --- glyphs ---------------------------------------------------------------------

static void drawReturnArrow(QPainter& p, int y) {
  // A line-return arrow: down from the top right, then left to a head.
  QPainterPath path;
  path.moveTo(12.5, y - 5);
  path.lineTo(12.5, y);
  path.lineTo(4, y);
  p.drawPath(path);
  p.setBrush(p.pen().color());
  p.drawPolygon(QPolygonF({QPointF(2, y), QPointF(6, y - 3), QPointF(6, y + 3)}));
  p.setBrush(Qt::NoBrush);
}

QIcon glyph(Glyph which) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x20, 0x20, 0x80), 1.6));
  switch (which) {
  case Glyph::BrakeLine: drawReturnArrow(p, 10); break;
  case Glyph::LineOmission:
    drawReturnArrow(p, 6);
    drawReturnArrow(p, 13);
    break;
  case Glyph::AlignLeft:
  case Glyph::AlignCenter:
  case Glyph::AlignRight: {
    p.setPen(QPen(Qt::black, 1.5));
    const int lengths[] = {14, 9, 14, 9};
    for (int i = 0; i < 4; ++i) {
      const int length = lengths[i];
      const int left = which == Glyph::AlignLeft    ? 1
                       : which == Glyph::AlignRight ? 15 - length
                                                    : (16 - length) / 2;
      const qreal y = 2.5 + i * 3.6;
      p.drawLine(QPointF(left, y), QPointF(left + length, y));
    }
    break;
  }
  case Glyph::Ampersand: {
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x80, 0x00, 0x00));
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("&"));
    break;
  }
  }
  return QIcon(pixmap);
}

} // namespace tessera::toolui
