#pragma once

#include <QList>
#include <QString>

// The texts the three generators write: a table, a drop-down menu and a
// complete starter page. Every line ends with CR LF; values go in verbatim.
namespace tessera {

inline constexpr int kMaxTableColumns = 4;
inline constexpr int kMaxTableRows = 4;

// A table of `columns` by `rows` (1 to 4 each), each cell naming its place.
QString tableText(int columns, int rows);

// The preview picture of a table shape, relative to the data folder: "2x3.bmp".
QString tablePreviewFileName(int columns, int rows);

struct MenuItem {
  QString name;
  QString link;
};

// A paragraph holding a select list titled `menuName` with one option per item.
QString selectListText(const QString& menuName, const QList<MenuItem>& items);

struct SitePage {
  QString siteName = QStringLiteral("My wap");
  QString siteAddress = defaultSiteAddress();
  QString welcomeText = QStringLiteral("Welcome!");
  QString body = QStringLiteral("Sample text...\r\n");

  static QString defaultSiteAddress() {
    return QStringLiteral("http://wap.example.com/user/index.wml");
  }
};

// The one-card page the site wizard saves. The body keeps its own line
// breaks; it is followed by one more.
QString sitePageText(const SitePage& page);

} // namespace tessera
