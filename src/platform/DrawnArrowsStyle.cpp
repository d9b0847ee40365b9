#include "platform/DrawnArrowsStyle.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

namespace tessera {

namespace {

class ArrowEngine final : public QIconEngine {
public:
  explicit ArrowEngine(Qt::Orientation orientation) : orientation_(orientation) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    const QPalette palette = QGuiApplication::palette();
    const QColor colour = palette.color(
        mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active, QPalette::ButtonText);
    // Two chevrons in the middle half of the square, pointing along the
    // bar: » for a horizontal bar, the same turned down for a vertical one.
    const qreal side = std::min(rect.width(), rect.height());
    const QPointF centre = QRectF(rect).center();
    const qreal half = side / 4.0;
    QPainterPath path;
    for (const qreal offset : {-half / 1.6, half / 1.6}) {
      path.moveTo(offset - half / 2, -half);
      path.lineTo(offset + half / 2, 0);
      path.lineTo(offset - half / 2, half);
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(centre);
    if (orientation_ == Qt::Vertical)
      painter->rotate(90);
    painter->setPen(
        QPen(colour, std::max(1.0, side / 10.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->drawPath(path);
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap drawn(size);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return drawn;
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
  bool isNull() override { return false; }
  QIconEngine* clone() const override { return new ArrowEngine(orientation_); }
  QString key() const override { return QStringLiteral("tessera-extension-arrow"); }

private:
  Qt::Orientation orientation_;
};

} // namespace

QIcon extensionArrowIcon(Qt::Orientation orientation) {
  return QIcon(new ArrowEngine(orientation));
}

DrawnArrowsStyle::DrawnArrowsStyle(const QString& key) : QProxyStyle(key) {}

QIcon DrawnArrowsStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                     const QWidget* widget) const {
  switch (icon) {
  case SP_ToolBarHorizontalExtensionButton: return extensionArrowIcon(Qt::Horizontal);
  case SP_ToolBarVerticalExtensionButton: return extensionArrowIcon(Qt::Vertical);
  default: return QProxyStyle::standardIcon(icon, option, widget);
  }
}

} // namespace tessera
