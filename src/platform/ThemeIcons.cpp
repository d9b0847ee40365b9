#include "platform/ThemeIcons.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QSet>
#include <QStyle>
#include <QStyleOption>

#include <cstdlib>
#include <functional>
#include <limits>

namespace tessera {

// --- the index ---------------------------------------------------------------

bool IconThemeIndex::Folder::serves(int pixels) const {
  switch (type) {
  case SizeType::Fixed: return pixels == size;
  case SizeType::Scalable: return minSize <= pixels && pixels <= maxSize;
  case SizeType::Threshold: return size - threshold <= pixels && pixels <= size + threshold;
  }
  return false;
}

int IconThemeIndex::Folder::distance(int pixels) const {
  switch (type) {
  case SizeType::Fixed: return std::abs(size - pixels);
  case SizeType::Scalable:
    if (pixels < minSize)
      return minSize - pixels;
    return pixels > maxSize ? pixels - maxSize : 0;
  case SizeType::Threshold:
    if (pixels < size - threshold)
      return minSize - pixels;
    return pixels > size + threshold ? pixels - maxSize : 0;
  }
  return std::numeric_limits<int>::max();
}

namespace {

// A folder's keys as written; -1 where a key is missing or not a number.
struct FolderKeys {
  int size = -1, scale = -1, minSize = -1, maxSize = -1, threshold = -1;
  QByteArrayView type;
};

int numberIn(QByteArrayView value) {
  bool ok = false;
  const int number = value.toInt(&ok);
  return ok ? number : -1;
}

QStringList listOf(QByteArrayView value) {
  QStringList items;
  qsizetype from = 0;
  while (from <= value.size()) {
    qsizetype comma = value.indexOf(',', from);
    if (comma < 0)
      comma = value.size();
    const QByteArrayView item = value.sliced(from, comma - from).trimmed();
    if (!item.isEmpty())
      items << QString::fromUtf8(item);
    from = comma + 1;
  }
  return items;
}

} // namespace

IconThemeIndex IconThemeIndex::parse(const QByteArray& text) {
  // One pass over the lines, keeping only the keys used here: a theme's
  // index runs to thousands of lines (hicolor's), read at start-up.
  QByteArrayView inherits, directories, scaledDirectories;
  QHash<QByteArrayView, FolderKeys> folders;
  bool inHead = false;
  FolderKeys* folder = nullptr;
  const QByteArrayView all(text);
  qsizetype from = 0;
  while (from < all.size()) {
    qsizetype end = all.indexOf('\n', from);
    if (end < 0)
      end = all.size();
    const QByteArrayView line = all.sliced(from, end - from).trimmed();
    from = end + 1;
    if (line.isEmpty() || line.startsWith('#'))
      continue;
    if (line.startsWith('[') && line.endsWith(']')) {
      const QByteArrayView name = line.sliced(1, line.size() - 2);
      inHead = name == "Icon Theme";
      folder = inHead ? nullptr : &folders[name];
      continue;
    }
    const qsizetype equals = line.indexOf('=');
    if (equals <= 0)
      continue;
    const QByteArrayView key = line.first(equals).trimmed();
    const QByteArrayView value = line.sliced(equals + 1).trimmed();
    if (inHead) {
      if (key == "Inherits")
        inherits = value;
      else if (key == "Directories")
        directories = value;
      else if (key == "ScaledDirectories")
        scaledDirectories = value;
    } else if (folder) {
      if (key == "Size")
        folder->size = numberIn(value);
      else if (key == "Scale")
        folder->scale = numberIn(value);
      else if (key == "MinSize")
        folder->minSize = numberIn(value);
      else if (key == "MaxSize")
        folder->maxSize = numberIn(value);
      else if (key == "Threshold")
        folder->threshold = numberIn(value);
      else if (key == "Type")
        folder->type = value;
    }
  }

  IconThemeIndex index;
  index.inherits = listOf(inherits);
  for (const QString& path : listOf(directories) + listOf(scaledDirectories)) {
    const QByteArray name = path.toUtf8();
    const auto found = folders.constFind(QByteArrayView(name));
    if (found == folders.constEnd() || found->size <= 0)
      continue;
    const FolderKeys& keys = *found;
    // Sizes are counted here in device pixels: a folder for scale 2
    // serves pictures twice its nominal size.
    const int scale = std::max(1, keys.scale);
    const auto orSize = [&](int value) { return (value >= 0 ? value : keys.size) * scale; };
    Folder entry;
    entry.path = path;
    entry.size = keys.size * scale;
    entry.minSize = orSize(keys.minSize);
    entry.maxSize = orSize(keys.maxSize);
    entry.threshold = (keys.threshold >= 0 ? keys.threshold : 2) * scale;
    entry.type = keys.type == "Fixed"      ? SizeType::Fixed
                 : keys.type == "Scalable" ? SizeType::Scalable
                                           : SizeType::Threshold;
    index.folders << entry;
  }
  return index;
}

// --- the finder --------------------------------------------------------------

ThemeIconFinder::ThemeIconFinder(QStringList searchPaths, QString theme, QString fallbackTheme)
    : searchPaths_(std::move(searchPaths)), first_(std::move(theme)),
      fallback_(std::move(fallbackTheme)) {}

const ThemeIconFinder::Theme& ThemeIconFinder::theme(const QString& name) {
  const auto known = themes_.constFind(name);
  if (known != themes_.constEnd())
    return *known;
  Theme theme;
  bool indexRead = false;
  for (const QString& path : searchPaths_) {
    const QString root = path + QLatin1Char('/') + name;
    if (!QFileInfo(root).isDir())
      continue;
    theme.roots << root;
    QFile index(root + QStringLiteral("/index.theme"));
    if (!indexRead && index.open(QIODevice::ReadOnly)) {
      theme.index = IconThemeIndex::parse(index.readAll());
      indexRead = true;
    }
  }
  return *themes_.insert(name, theme);
}

QString ThemeIconFinder::findIn(const Theme& theme, const QString& name, int pixels) const {
  static const char* const extensions[] = {".png", ".svg", ".xpm"};
  const auto fileIn = [&](const IconThemeIndex::Folder& folder) -> QString {
    for (const QString& root : theme.roots)
      for (const char* extension : extensions) {
        const QString path = root + QLatin1Char('/') + folder.path + QLatin1Char('/') + name +
                             QLatin1String(extension);
        if (QFileInfo::exists(path))
          return path;
      }
    return {};
  };
  for (const IconThemeIndex::Folder& folder : theme.index.folders)
    if (folder.serves(pixels))
      if (QString path = fileIn(folder); !path.isEmpty())
        return path;
  QString nearest;
  int best = std::numeric_limits<int>::max();
  for (const IconThemeIndex::Folder& folder : theme.index.folders) {
    const int distance = folder.distance(pixels);
    if (distance >= best)
      continue;
    if (QString path = fileIn(folder); !path.isEmpty()) {
      nearest = path;
      best = distance;
    }
  }
  return nearest;
}

QString ThemeIconFinder::find(const QString& name, int pixels) {
  const QPair<QString, int> key(name, pixels);
  const auto known = found_.constFind(key);
  if (known != found_.constEnd())
    return *known;
  const QString path = lookUp(name, pixels);
  found_.insert(key, path);
  return path;
}

QString ThemeIconFinder::lookUp(const QString& name, int pixels) {
  // The themes are walked depth first, each at most once, and a theme's
  // index is read only when the walk reaches it.
  QSet<QString> visited;
  std::function<QString(const QString&)> walk = [&](const QString& themeName) -> QString {
    if (themeName.isEmpty() || visited.contains(themeName))
      return {};
    visited.insert(themeName);
    const Theme& found = theme(themeName);
    if (QString path = findIn(found, name, pixels); !path.isEmpty())
      return path;
    // A copy: reading a parent's index adds to the table `found` lives in.
    const QStringList parents = found.index.inherits;
    for (const QString& parent : parents)
      if (QString path = walk(parent); !path.isEmpty())
        return path;
    return {};
  };
  for (const QString& start : {first_, fallback_, QStringLiteral("hicolor")})
    if (QString path = walk(start); !path.isEmpty())
      return path;
  return {};
}

// --- the icon ----------------------------------------------------------------

QImage readPng(const QString& path) {
  QImageReader reader(path, "png");
  // Without this the reader asks every installed plugin first.
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

namespace {

bool isPng(const QString& path) {
  return path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

// Draws a theme icon from its PNG files, one size at a time as asked.
class ThemeFileEngine final : public QIconEngine {
public:
  ThemeFileEngine(std::shared_ptr<ThemeIconFinder> finder, QString name)
      : finder_(std::move(finder)), name_(std::move(name)) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    // The desktop has switched icon themes since: the toolkit's own look-up
    // follows the new one.
    if (QIcon::themeName() != finder_->themeName())
      return toolkitIcon().pixmap(size, mode, state);
    const int edge = std::max(1, std::min(size.width(), size.height()));
    const quint64 key = (quint64(edge) << 8) | quint64(mode);
    const auto cached = drawn_.constFind(key);
    if (cached != drawn_.constEnd())
      return *cached;
    const QString path = finder_->find(name_, edge);
    QImage image = isPng(path) ? readPng(path) : QImage();
    QPixmap shown;
    if (image.isNull()) {
      // Only SVG or XPM at this size: the toolkit's own theme icon.
      shown = toolkitIcon().pixmap(size, mode, state);
    } else {
      // Never larger than asked, as every icon of the toolkit.
      if (image.width() > edge || image.height() > edge)
        image = image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
      shown = QPixmap::fromImage(image);
      if (mode != QIcon::Normal) {
        QStyleOption option;
        option.palette = QGuiApplication::palette();
        shown = QApplication::style()->generatedIconPixmap(mode, shown, &option);
      }
    }
    drawn_.insert(key, shown);
    return shown;
  }

  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return pixmap(size, mode, state).size().boundedTo(size);
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap shown = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
    shown.setDevicePixelRatio(ratio);
    const QSize logical = (QSizeF(shown.size()) / ratio).toSize();
    painter->drawPixmap(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, logical, rect),
                        shown);
  }

  bool isNull() override { return false; }
  QIconEngine* clone() const override { return new ThemeFileEngine(finder_, name_); }
  QString key() const override { return QStringLiteral("tessera-theme-file"); }
  QString iconName() override { return name_; }

private:
  const QIcon& toolkitIcon() {
    if (toolkit_.isNull())
      toolkit_ = QIcon::fromTheme(name_);
    return toolkit_;
  }

  std::shared_ptr<ThemeIconFinder> finder_;
  QString name_;
  QHash<quint64, QPixmap> drawn_;
  QIcon toolkit_;
};

} // namespace

QIcon themeFileIcon(const QString& name) {
  static std::shared_ptr<ThemeIconFinder> finder;
  static QString finderTheme;
  if (!finder || finderTheme != QIcon::themeName()) {
    finderTheme = QIcon::themeName();
    finder = std::make_shared<ThemeIconFinder>(QIcon::themeSearchPaths(), finderTheme,
                                               QIcon::fallbackThemeName());
  }
  // Whether the theme has it at all, asked at the toolbar's size, which is
  // then known when the toolbar is first drawn.
  const QString path = finder->find(name, 22);
  if (!isPng(path))
    return QIcon::fromTheme(name);
  return QIcon(new ThemeFileEngine(finder, name));
}

} // namespace tessera
