#include "app/Icons.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStandardPaths>
#include <QStyle>

namespace tessera {

namespace {

struct IconSource {
  const char* themeName;
  QStyle::StandardPixmap fallback;
};

IconSource sourceOf(IconId id) {
  switch (id) {
  case IconId::New: return {"document-new", QStyle::SP_FileIcon};
  case IconId::Open: return {"document-open", QStyle::SP_DialogOpenButton};
  case IconId::Save: return {"document-save", QStyle::SP_DialogSaveButton};
  case IconId::Cut: return {"edit-cut", QStyle::SP_CustomBase};
  case IconId::Copy: return {"edit-copy", QStyle::SP_CustomBase};
  case IconId::Paste: return {"edit-paste", QStyle::SP_CustomBase};
  case IconId::Table: return {"x-office-spreadsheet", QStyle::SP_FileDialogDetailedView};
  case IconId::DropDown: return {"format-justify-fill", QStyle::SP_FileDialogListView};
  case IconId::ToolsWindowShown: return {"preferences-system", QStyle::SP_TitleBarNormalButton};
  case IconId::ToolsWindowHidden: return {"window-new", QStyle::SP_TitleBarMinButton};
  case IconId::About: return {"help-browser", QStyle::SP_MessageBoxInformation};
  case IconId::Print: return {"document-print", QStyle::SP_CustomBase};
  case IconId::Exit: return {"system-log-out", QStyle::SP_DialogCloseButton};
  }
  return {"", QStyle::SP_CustomBase};
}

// A plain drawn icon for the few commands the style has no picture for.
QIcon drawnIcon(IconId id) {
  QPixmap pixmap(22, 22);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 60, 60), 1.5));
  switch (id) {
  case IconId::Cut:
    p.drawEllipse(QRectF(3, 13, 6, 6));
    p.drawEllipse(QRectF(13, 13, 6, 6));
    p.drawLine(QPointF(8, 14), QPointF(15, 3));
    p.drawLine(QPointF(14, 14), QPointF(7, 3));
    break;
  case IconId::Copy:
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, 3, 10, 12));
    p.drawRect(QRectF(9, 7, 10, 12));
    break;
  case IconId::Paste:
    p.setBrush(QColor(200, 160, 100));
    p.drawRect(QRectF(4, 4, 14, 16));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 8, 10, 12));
    break;
  default:
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(QRectF(4, 3, 14, 16));
    break;
  }
  return QIcon(pixmap);
}

} // namespace

void chooseIconTheme() {
  QStringList paths = QIcon::themeSearchPaths();
  const QStringList installed =
      QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                QStandardPaths::LocateDirectory);
  bool changed = false;
  for (const QString& folder : installed) {
    if (!paths.contains(folder)) {
      paths.append(folder);
      changed = true;
    }
  }
  if (changed)
    QIcon::setThemeSearchPaths(paths);
  // Desktops without an icon theme of their own still get full toolbars.
  if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
    QIcon::setThemeName(QStringLiteral("Tango"));
  QIcon::setFallbackThemeName(QStringLiteral("Tango"));
}

QIcon themedIcon(IconId id) {
  const IconSource source = sourceOf(id);
  const QIcon themed = QIcon::fromTheme(QString::fromLatin1(source.themeName));
  if (!themed.isNull())
    return themed;
  if (source.fallback != QStyle::SP_CustomBase)
    return QApplication::style()->standardIcon(source.fallback);
  return drawnIcon(id);
}

} // namespace tessera
