#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace tessera {

// What an icon theme's index.theme says: the folders of pictures with the
// sizes each one serves, and the themes to look in next.
struct IconThemeIndex {
  enum class SizeType { Fixed, Scalable, Threshold };
  struct Folder {
    QString path; // relative to the theme's folder
    int size = 0;
    int minSize = 0;
    int maxSize = 0;
    int threshold = 2;
    SizeType type = SizeType::Threshold;

    // Whether a picture here may be shown at `pixels` as it is.
    bool serves(int pixels) const;
    // How far its pictures are from `pixels` (0 when it serves them).
    int distance(int pixels) const;
  };

  QStringList inherits;
  QList<Folder> folders;

  static IconThemeIndex parse(const QByteArray& text);
};

// Finds the picture file of a theme icon the way desktop icon themes are
// laid out: the theme, then the themes it inherits from, then the fallback
// theme, then "hicolor"; in each, a folder serving the size, else the
// nearest size. Each theme's index is read once, when first needed.
class ThemeIconFinder {
public:
  ThemeIconFinder(QStringList searchPaths, QString theme, QString fallbackTheme = QString());

  // The file of `name` for `pixels` (PNG, SVG or XPM, as the theme has
  // it), or an empty string when no theme in the chain has the icon.
  // Each answer is remembered.
  QString find(const QString& name, int pixels);
  const QString& themeName() const { return first_; }

private:
  struct Theme {
    QStringList roots; // <search path>/<theme>, those that exist
    IconThemeIndex index;
  };
  const Theme& theme(const QString& name);
  const QStringList& chain();
  QString findIn(const Theme& theme, const QString& name, int pixels) const;
  QString lookUp(const QString& name, int pixels);

  QStringList searchPaths_;
  QString first_;
  QString fallback_;
  QStringList chain_;
  bool chainKnown_ = false;
  QHash<QString, Theme> themes_;
  QHash<QPair<QString, int>, QString> found_;
};

// The icon `name` of the current icon theme (QIcon::themeName()), its
// PNG pictures read by the toolkit's own PNG reader as each size is first
// drawn. Asking the toolkit for a themed icon reads its pictures with
// format detection, which loads every image-format plugin installed; this
// keeps that cost out of the start of the program. Where the theme holds
// the icon only as SVG or XPM, or not at all, it is QIcon::fromTheme(name);
// once the desktop switches icon themes, the icon draws as that one does.
QIcon themeFileIcon(const QString& name);

// The PNG file at `path`, read by the toolkit's built-in reader only.
QImage readPng(const QString& path);

} // namespace tessera
