#include "platform/ThemeIcons.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;
using Folder = IconThemeIndex::Folder;
using SizeType = IconThemeIndex::SizeType;

Q_DECLARE_METATYPE(IconThemeIndex::SizeType)

namespace {

// "path size min max threshold type" for each folder, joined by "; ".
QString describe(const IconThemeIndex& index) {
  static const char* const types[] = {"Fixed", "Scalable", "Threshold"};
  QStringList folders;
  for (const Folder& f : index.folders)
    folders << QStringLiteral("%1 %2 %3 %4 %5 %6")
                   .arg(f.path)
                   .arg(f.size)
                   .arg(f.minSize)
                   .arg(f.maxSize)
                   .arg(f.threshold)
                   .arg(QLatin1String(types[int(f.type)]));
  return folders.join(QStringLiteral("; "));
}

// Writes a theme under `root/<theme>`: its index and empty picture files
// ("folder/name.ext"), enough for the finder, which only asks whether a
// file exists.
void writeTheme(const QString& root, const QString& theme, const QByteArray& index,
                const QStringList& files) {
  QDir(root).mkpath(theme);
  QFile file(root + QLatin1Char('/') + theme + QStringLiteral("/index.theme"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(index);
  file.close();
  for (const QString& name : files) {
    const QString path = root + QLatin1Char('/') + theme + QLatin1Char('/') + name;
    QDir().mkpath(QFileInfo(path).path());
    QFile picture(path);
    QVERIFY(picture.open(QIODevice::WriteOnly));
  }
}

QByteArray fixedIndex(const QByteArray& inherits, const QList<int>& sizes) {
  QByteArray text = "[Icon Theme]\nInherits=" + inherits + "\nDirectories=";
  QByteArrayList names;
  for (int size : sizes)
    names << QByteArray::number(size) + "x" + QByteArray::number(size) + "/actions";
  text += names.join(',') + "\n\n";
  for (int size : sizes)
    text += "[" + QByteArray::number(size) + "x" + QByteArray::number(size) +
            "/actions]\nSize=" + QByteArray::number(size) + "\nType=Fixed\n\n";
  return text;
}

QImage filled(int edge, QColor colour) {
  QImage image(edge, edge, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

} // namespace

class ThemeIconsTest : public QObject {
  Q_OBJECT
private slots:
  void parse_data();
  void parse();
  void servesAndDistance_data();
  void servesAndDistance();
  void find_data();
  void find();
  void findRemembersAnswers();
  void iconDrawsTheThemeFiles();
};

void ThemeIconsTest::parse_data() {
  QTest::addColumn<QByteArray>("index");
  QTest::addColumn<QString>("folders");
  QTest::addColumn<QStringList>("inherits");

  QTest::newRow("fixed, scalable and threshold")
      << QByteArray("[Icon Theme]\nName=T\nInherits=gnome,hicolor\n"
                    "Directories=16x16/actions,scalable/actions,48x48/apps\n\n"
                    "[16x16/actions]\nSize=16\nType=Fixed\n\n"
                    "[scalable/actions]\nSize=48\nType=Scalable\nMinSize=32\nMaxSize=256\n\n"
                    "[48x48/apps]\nSize=48\nType=Threshold\nThreshold=4\n")
      << "16x16/actions 16 16 16 2 Fixed; scalable/actions 48 32 256 2 Scalable; "
         "48x48/apps 48 48 48 4 Threshold"
      << QStringList{"gnome", "hicolor"};
  QTest::newRow("defaults: threshold type, threshold 2, bounds the size")
      << QByteArray("[Icon Theme]\nDirectories=22\n[22]\nSize=22\n") << "22 22 22 22 2 Threshold"
      << QStringList();
  QTest::newRow("scale 2 counts device pixels")
      << QByteArray("[Icon Theme]\nDirectories=22@2\n[22@2]\nSize=22\nScale=2\nType=Fixed\n")
      << "22@2 44 44 44 4 Fixed" << QStringList();
  QTest::newRow("scaled directories follow the others")
      << QByteArray("[Icon Theme]\nDirectories=a\nScaledDirectories=b\n"
                    "[b]\nSize=32\nType=Fixed\n[a]\nSize=16\nType=Fixed\n")
      << "a 16 16 16 2 Fixed; b 32 32 32 2 Fixed" << QStringList();
  QTest::newRow("comments, blanks, spaces, CR LF, a localised key")
      << QByteArray("# theme\r\n[Icon Theme]\r\nName[de]=X\r\n Inherits = one , two \r\n"
                    "Directories = a , b \r\n\r\n[a]\r\n# size\r\nSize = 16\r\nType = Fixed\r\n"
                    "[b]\r\nSize=24\r\nType=Scalable\r\n")
      << "a 16 16 16 2 Fixed; b 24 24 24 2 Scalable" << QStringList{"one", "two"};
  QTest::newRow("folders without a section or a size are left out")
      << QByteArray("[Icon Theme]\nDirectories=a,b,c,d\n[a]\nType=Fixed\n[c]\nSize=x\n"
                    "[d]\nSize=0\n")
      << QString() << QStringList();
  QTest::newRow("a folder's keys stay in its own section")
      << QByteArray("[Icon Theme]\nDirectories=a,b\n[a]\nSize=16\n[b]\nSize=32\nType=Fixed\n"
                    "[Other]\nType=Scalable\n")
      << "a 16 16 16 2 Threshold; b 32 32 32 2 Fixed" << QStringList();
  QTest::newRow("empty") << QByteArray() << QString() << QStringList();
  QTest::newRow("no final line break") << QByteArray("[Icon Theme]\nDirectories=a\n[a]\nSize=16")
                                       << "a 16 16 16 2 Threshold" << QStringList();
}

void ThemeIconsTest::parse() {
  QFETCH(QByteArray, index);
  QFETCH(QString, folders);
  QFETCH(QStringList, inherits);
  const IconThemeIndex parsed = IconThemeIndex::parse(index);
  QCOMPARE(describe(parsed), folders);
  QCOMPARE(parsed.inherits, inherits);
}

void ThemeIconsTest::servesAndDistance_data() {
  QTest::addColumn<SizeType>("type");
  QTest::addColumn<int>("size");
  QTest::addColumn<int>("minSize");
  QTest::addColumn<int>("maxSize");
  QTest::addColumn<int>("threshold");
  QTest::addColumn<int>("pixels");
  QTest::addColumn<bool>("serves");
  QTest::addColumn<int>("distance");

  QTest::newRow("fixed, same") << SizeType::Fixed << 22 << 22 << 22 << 2 << 22 << true << 0;
  QTest::newRow("fixed, smaller") << SizeType::Fixed << 22 << 22 << 22 << 2 << 16 << false << 6;
  QTest::newRow("fixed, larger") << SizeType::Fixed << 22 << 22 << 22 << 2 << 32 << false << 10;
  QTest::newRow("scalable, inside")
      << SizeType::Scalable << 48 << 32 << 256 << 2 << 64 << true << 0;
  QTest::newRow("scalable, at min")
      << SizeType::Scalable << 48 << 32 << 256 << 2 << 32 << true << 0;
  QTest::newRow("scalable, below")
      << SizeType::Scalable << 48 << 32 << 256 << 2 << 22 << false << 10;
  QTest::newRow("scalable, above")
      << SizeType::Scalable << 48 << 32 << 256 << 2 << 300 << false << 44;
  QTest::newRow("threshold, edge below")
      << SizeType::Threshold << 24 << 24 << 24 << 2 << 22 << true << 0;
  QTest::newRow("threshold, edge above")
      << SizeType::Threshold << 24 << 24 << 24 << 2 << 26 << true << 0;
  QTest::newRow("threshold, past below")
      << SizeType::Threshold << 24 << 24 << 24 << 2 << 21 << false << 3;
  QTest::newRow("threshold, past above")
      << SizeType::Threshold << 24 << 24 << 24 << 2 << 27 << false << 3;
}

void ThemeIconsTest::servesAndDistance() {
  QFETCH(SizeType, type);
  QFETCH(int, size);
  QFETCH(int, minSize);
  QFETCH(int, maxSize);
  QFETCH(int, threshold);
  QFETCH(int, pixels);
  QFETCH(bool, serves);
  QFETCH(int, distance);
  Folder folder;
  folder.type = type;
  folder.size = size;
  folder.minSize = minSize;
  folder.maxSize = maxSize;
  folder.threshold = threshold;
  QCOMPARE(folder.serves(pixels), serves);
  QCOMPARE(folder.distance(pixels), distance);
}

void ThemeIconsTest::find_data() {
  // Each row: the themes ("name|inherits|sizes|files", files separated by
  // spaces, sizes by commas) under the first search path, the same under
  // the second, the theme and fallback asked for, the icon and size, and
  // the answer relative to the search path it is in ("" for none).
  QTest::addColumn<QStringList>("firstPath");
  QTest::addColumn<QStringList>("secondPath");
  QTest::addColumn<QString>("fallback");
  QTest::addColumn<int>("pixels");
  QTest::addColumn<QString>("expected");

  QTest::newRow("the size asked for")
      << QStringList{"T||16,22|16x16/actions/i.png "
                     "22x22/actions/i.png"}
      << QStringList() << QString() << 22 << "1/T/22x22/actions/i.png";
  QTest::newRow("an exact size in a later folder beats an earlier near one")
      << QStringList{"T||16,22,24|16x16/actions/i.png 24x24/actions/i.png 22x22/actions/i.png"}
      << QStringList() << QString() << 22 << "1/T/22x22/actions/i.png";
  QTest::newRow("else the nearest size")
      << QStringList{"T||16,32|16x16/actions/i.png 32x32/actions/i.png"} << QStringList()
      << QString() << 22 << "1/T/16x16/actions/i.png";
  QTest::newRow("PNG before SVG in one folder")
      << QStringList{"T||22|22x22/actions/i.svg 22x22/actions/i.png"} << QStringList() << QString()
      << 22 << "1/T/22x22/actions/i.png";
  QTest::newRow("SVG when the theme has only that")
      << QStringList{"T||22|22x22/actions/i.svg"} << QStringList() << QString() << 22
      << "1/T/22x22/actions/i.svg";
  QTest::newRow("a nearer size in the theme beats the exact one in a parent")
      << QStringList{"T|P|16|16x16/actions/i.png", "P||22|22x22/actions/i.png"} << QStringList()
      << QString() << 22 << "1/T/16x16/actions/i.png";
  QTest::newRow("the parents in order, depth first")
      << QStringList{"T|A,C|22|", "A|B|22|", "B||22|22x22/actions/i.png",
                     "C||22|22x22/actions/i.png"}
      << QStringList() << QString() << 22 << "1/B/22x22/actions/i.png";
  QTest::newRow("a parent that is not installed is passed over")
      << QStringList{"T|gone,P|22|", "P||22|22x22/actions/i.png"} << QStringList() << QString()
      << 22 << "1/P/22x22/actions/i.png";
  QTest::newRow("the fallback theme after the chain")
      << QStringList{"T||22|", "F||22|22x22/actions/i.png", "hicolor||22|22x22/actions/i.png"}
      << QStringList() << "F" << 22 << "1/F/22x22/actions/i.png";
  QTest::newRow("hicolor last") << QStringList{"T||22|", "hicolor||22|22x22/actions/i.png"}
                                << QStringList() << QString() << 22
                                << "1/hicolor/22x22/actions/i.png";
  QTest::newRow("a theme spread over two search paths")
      << QStringList{"T||16,22|16x16/actions/i.png"} << QStringList{"T||16,22|22x22/actions/i.png"}
      << QString() << 22 << "2/T/22x22/actions/i.png";
  {
    // Enough themes that reading their indexes regrows the finder's table
    // while the walk is still going through the first theme's parents.
    QStringList chain;
    QStringList parents;
    for (int i = 0; i < 80; ++i) {
      parents << QStringLiteral("P%1").arg(i);
      chain << QStringLiteral("P%1||22|%2").arg(i).arg(i == 79 ? "22x22/actions/i.png" : "");
    }
    chain.prepend(QStringLiteral("T|%1|22|").arg(parents.join(QLatin1Char(','))));
    QTest::newRow("many parents") << chain << QStringList() << QString() << 22
                                  << "1/P79/22x22/actions/i.png";
  }
  QTest::newRow("themes that inherit each other end")
      << QStringList{"T|U|22|", "U|T|22|"} << QStringList() << QString() << 22 << "";
  QTest::newRow("no theme has it")
      << QStringList{"T||22|22x22/actions/other.png"} << QStringList() << QString() << 22 << "";
}

void ThemeIconsTest::find() {
  QFETCH(QStringList, firstPath);
  QFETCH(QStringList, secondPath);
  QFETCH(QString, fallback);
  QFETCH(int, pixels);
  QFETCH(QString, expected);
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const QString roots[] = {dir.filePath(QStringLiteral("1")), dir.filePath(QStringLiteral("2"))};
  const QStringList themes[] = {firstPath, secondPath};
  for (int r = 0; r < 2; ++r) {
    for (const QString& theme : themes[r]) {
      const QStringList parts = theme.split(QLatin1Char('|'));
      QList<int> sizes;
      for (const QString& size : parts[2].split(QLatin1Char(','), Qt::SkipEmptyParts))
        sizes << size.toInt();
      writeTheme(roots[r], parts[0], fixedIndex(parts[1].toUtf8(), sizes),
                 parts[3].split(QLatin1Char(' '), Qt::SkipEmptyParts));
    }
  }
  ThemeIconFinder finder({roots[0], roots[1]}, QStringLiteral("T"), fallback);
  const QString found = finder.find(QStringLiteral("i"), pixels);
  QCOMPARE(found.isEmpty() ? QString() : QDir(dir.path()).relativeFilePath(found), expected);
}

void ThemeIconsTest::findRemembersAnswers() {
  QTemporaryDir dir;
  writeTheme(dir.path(), QStringLiteral("T"), fixedIndex("", {22}), {"22x22/actions/i.png"});
  ThemeIconFinder finder({dir.path()}, QStringLiteral("T"));
  const QString first = finder.find(QStringLiteral("i"), 22);
  QVERIFY(first.endsWith(QLatin1String("/T/22x22/actions/i.png")));
  // Gone from the disk, yet the answer stands: each is looked up once.
  QVERIFY(QFile::remove(first));
  QCOMPARE(finder.find(QStringLiteral("i"), 22), first);
  QCOMPARE(finder.find(QStringLiteral("i"), 16), QString()); // asked afresh
}

void ThemeIconsTest::iconDrawsTheThemeFiles() {
  QTemporaryDir dir;
  writeTheme(dir.path(), QStringLiteral("Pictures"), fixedIndex("", {16, 22}), {});
  const QString base = dir.path() + QStringLiteral("/Pictures/");
  QVERIFY(QDir(base).mkpath(QStringLiteral("16x16/actions")));
  QVERIFY(QDir(base).mkpath(QStringLiteral("22x22/actions")));
  QVERIFY(filled(16, Qt::red).save(base + QStringLiteral("16x16/actions/shown.png"), "PNG"));
  QVERIFY(filled(22, Qt::blue).save(base + QStringLiteral("22x22/actions/shown.png"), "PNG"));
  const QStringList searchPaths = QIcon::themeSearchPaths();
  const QString themeName = QIcon::themeName();
  QIcon::setThemeSearchPaths({dir.path()});
  QIcon::setThemeName(QStringLiteral("Pictures"));

  const QIcon icon = themeFileIcon(QStringLiteral("shown"));
  QVERIFY(!icon.isNull());
  QCOMPARE(icon.name(), QStringLiteral("shown"));
  // Each size from its own file; never larger than asked.
  QCOMPARE(icon.pixmap(22).toImage().convertToFormat(QImage::Format_ARGB32), filled(22, Qt::blue));
  QCOMPARE(icon.pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32), filled(16, Qt::red));
  QCOMPARE(icon.pixmap(32).size(), QSize(22, 22));
  QCOMPARE(icon.actualSize(QSize(32, 32)), QSize(22, 22));
  QCOMPARE(icon.pixmap(8).size(), QSize(8, 8)); // scaled down
  // On a screen of two device pixels per point, the larger file.
  const QPixmap sharp = icon.pixmap(QSize(11, 11), 2.0);
  QCOMPARE(sharp.devicePixelRatio(), 2.0);
  QImage sharpImage = sharp.toImage().convertToFormat(QImage::Format_ARGB32);
  sharpImage.setDevicePixelRatio(1);
  QCOMPARE(sharpImage, filled(22, Qt::blue));
  // A disabled button shows it greyed, as the style makes it.
  QVERIFY(icon.pixmap(22, QIcon::Disabled).toImage() != icon.pixmap(22).toImage());
  // Painted into a larger square: centred, at its own size.
  QImage canvas(30, 30, QImage::Format_ARGB32);
  canvas.fill(Qt::white);
  {
    QPainter painter(&canvas);
    icon.paint(&painter, QRect(0, 0, 30, 30));
  }
  QCOMPARE(canvas.pixelColor(15, 15), QColor(Qt::blue));
  QCOMPARE(canvas.pixelColor(2, 2), QColor(Qt::white));
  QCOMPARE(canvas.pixelColor(4, 4), QColor(Qt::blue));
  // Read by the PNG reader alone.
  QCOMPARE(readPng(base + QStringLiteral("22x22/actions/shown.png"))
               .convertToFormat(QImage::Format_ARGB32),
           filled(22, Qt::blue));

  // Not in the theme: what the toolkit's own look-up gives (nothing here).
  QVERIFY(themeFileIcon(QStringLiteral("missing")).isNull());

  // The desktop switches icon themes: the icon follows, as the toolkit's do.
  writeTheme(dir.path(), QStringLiteral("Other"), fixedIndex("", {22}), {});
  QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Other/22x22/actions")));
  QVERIFY(filled(22, Qt::green)
              .save(dir.path() + QStringLiteral("/Other/22x22/actions/shown.png"), "PNG"));
  QIcon::setThemeName(QStringLiteral("Other"));
  QCOMPARE(icon.pixmap(22).toImage().convertToFormat(QImage::Format_ARGB32), filled(22, Qt::green));

  QIcon::setThemeSearchPaths(searchPaths);
  QIcon::setThemeName(themeName);
}

QTEST_MAIN(ThemeIconsTest)
#include "tst_themeicons.moc"
