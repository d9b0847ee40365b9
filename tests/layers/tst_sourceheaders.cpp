// Every source file under src/ has a header of its own base name beside
// it (a program's main.cpp excepted), so a reader who finds a definition
// knows where its declaration is, and the reverse.
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTest>

namespace {

QString sourceRoot() { return QStringLiteral(TESSERA_SOURCE_DIR); }

} // namespace

class SourceHeadersTest : public QObject {
  Q_OBJECT
private slots:
  void everySourceHasItsHeader_data();
  void everySourceHasItsHeader();
};

void SourceHeadersTest::everySourceHasItsHeader_data() {
  QTest::addColumn<QString>("source");
  const QDir root(sourceRoot());
  QStringList sources;
  QDirIterator it(root.filePath(QStringLiteral("src")), {QStringLiteral("*.cpp")}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext())
    sources << root.relativeFilePath(it.next());
  sources.sort();
  // An empty list would make the check pass over nothing.
  QVERIFY2(sources.size() > 100, qPrintable(QStringLiteral("only %1 sources found under %2/src")
                                                .arg(sources.size())
                                                .arg(sourceRoot())));
  for (const QString& source : sources)
    QTest::newRow(qPrintable(source)) << source;
}

void SourceHeadersTest::everySourceHasItsHeader() {
  QFETCH(QString, source);
  const QFileInfo file(QDir(sourceRoot()).filePath(source));
  if (file.fileName() == u"main.cpp")
    QSKIP("a program's main() needs no header");
  const QString header = file.dir().filePath(file.completeBaseName() + QStringLiteral(".h"));
  if (QFileInfo::exists(header))
    return;
  QFAIL(qPrintable(QStringLiteral("%1 has no header %2")
                       .arg(source, QDir(sourceRoot()).relativeFilePath(header))));
}

QTEST_MAIN(SourceHeadersTest)
#include "tst_sourceheaders.moc"
