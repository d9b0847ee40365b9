#pragma once

#include <QProxyStyle>

namespace tessera {

// The desktop's own style, except that the arrows of the menu bar's and
// the toolbars' extension buttons ("more items") are drawn here. The
// toolkit's styles read those pictures from PNG files with format
// detection, which loads every image-format plugin installed on the
// machine while the main window is being built; drawing them costs
// nothing and looks the same at any size.
class DrawnArrowsStyle : public QProxyStyle {
public:
  // Wraps the style named `key` (as QStyleFactory knows it).
  explicit DrawnArrowsStyle(const QString& key);

  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
};

// A double arrow (») pointing right, or down for `Qt::Vertical`, drawn in
// the palette's button text colour at whatever size it is asked for.
QIcon extensionArrowIcon(Qt::Orientation orientation);

} // namespace tessera
