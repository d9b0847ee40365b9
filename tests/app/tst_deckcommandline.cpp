// The real executable's --compile, --decompile and --wbmp modes: exit
// status, what they print and the files they write.
#include "CompiledSample.h"

#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString program() { return QCoreApplication::applicationDirPath() + "/../bin/tessera"; }

const QByteArray kDeck = "<?xml version=\"1.0\"?>\n"
                         "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                         "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
                         "<wml><card id=\"a\"><p>Hi $(x)</p></card></wml>\n";

struct Run {
  int status = -1;
  QByteArray out;
  QByteArray err;
};

Run run(const QStringList& arguments, const QString& folder) {
  QProcess process;
  process.setWorkingDirectory(folder);
  process.start(program(), arguments);
  process.waitForFinished(30000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class TestDeckCommandLine : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

  void put(const QString& name, const QByteArray& bytes) {
    QFile file(dir_.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray contents(const QString& name) {
    QFile file(dir_.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
  }

private slots:
  void initTestCase() {
    QVERIFY(QFileInfo(program()).isExecutable());
    put("deck.wml", kDeck);
    put("broken.wml", "<wml><card></wml>");
    put("deck.wmlc", kCompiledSample);
    put("truncated.wmlc", kCompiledSample.left(12));
    QByteArray corrupted = kCompiledSample;
    corrupted[4] = '\x3A'; // a tag token WML does not have
    put("corrupted.wmlc", corrupted);
    put("text.png", "not a picture");
    QImage picture(10, 2, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(0, 0, qRgb(0, 0, 0));
    QVERIFY(picture.save(dir_.filePath("picture.png")));
  }

  void modes_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("compile") << QStringList{"--compile", "deck.wml", "-o", "out.wmlc"} << 0
                             << QByteArray("out.wmlc: 23 bytes\n") << QByteArray();
    QTest::newRow("compile not well-formed")
        << QStringList{"--compile", "broken.wml", "-o", "out2.wmlc"} << 1 << QByteArray()
        << QByteArray("broken.wml: not a well-formed deck: ");
    QTest::newRow("compile missing file")
        << QStringList{"--compile", "missing.wml", "-o", "out3.wmlc"} << 2 << QByteArray()
        << QByteArray("missing.wml: cannot read: ");
    QTest::newRow("compile without output")
        << QStringList{"--compile", "deck.wml"} << 2 << QByteArray()
        << QByteArray("tessera: --compile: -o OUT is missing\n"
                      "Usage: tessera --compile IN.wml -o OUT.wmlc [--no-string-table]\n");
    QTest::newRow("compile into a missing folder")
        << QStringList{"--compile", "deck.wml", "-o", "no/such/out.wmlc"} << 2 << QByteArray()
        << QByteArray("no/such/out.wmlc: cannot write: ");
    QTest::newRow("decompile truncated")
        << QStringList{"--decompile", "truncated.wmlc"} << 1 << QByteArray()
        << QByteArray("Cannot open compiled deck: the file ends in the middle of the deck\n");
    QTest::newRow("decompile corrupted")
        << QStringList{"--decompile", "corrupted.wmlc"} << 1 << QByteArray()
        << QByteArray("Cannot open compiled deck: a tag token is not one of WML's\n");
    QTest::newRow("decompile missing") << QStringList{"--decompile", "missing.wmlc"} << 2
                                       << QByteArray() << QByteArray("missing.wmlc: cannot read: ");
    QTest::newRow("decompile two files")
        << QStringList{"--decompile", "deck.wmlc", "deck.wmlc"} << 2 << QByteArray()
        << QByteArray("tessera: --decompile deck.wmlc: one input file at a time\n"
                      "Usage: tessera --decompile IN.wmlc\n");
    QTest::newRow("wbmp") << QStringList{"--wbmp", "picture.png", "-o", "out.wbmp"} << 0
                          << QByteArray("out.wbmp: 8 bytes\n") << QByteArray();
    QTest::newRow("wbmp not a picture") << QStringList{"--wbmp", "text.png", "-o", "out2.wbmp"} << 1
                                        << QByteArray() << QByteArray("text.png: not a picture: ");
    QTest::newRow("wbmp unknown dithering")
        << QStringList{"--wbmp", "picture.png", "-o", "out3.wbmp", "--dither", "random"} << 2
        << QByteArray()
        << QByteArray("tessera: --dither random: expected threshold, ordered or diffusion\n"
                      "Usage: tessera --wbmp IN.png");
    QTest::newRow("wbmp threshold out of range")
        << QStringList{"--wbmp", "picture.png", "-o", "out3.wbmp", "--threshold", "256"} << 2
        << QByteArray()
        << QByteArray("tessera: --threshold 256: expected a number from 0 to 255\n"
                      "Usage: tessera --wbmp IN.png");
  }
  void modes() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    const Run result = run(arguments, dir_.path());
    QCOMPARE(result.status, status);
    QCOMPARE(result.out, out);
    if (err.isEmpty())
      QCOMPARE(result.err, QByteArray());
    else
      QVERIFY2(result.err.startsWith(err), result.err.constData());
  }

  void compiledFileHoldsTheDeck() {
    QCOMPARE(run({"--compile", "deck.wml", "-o", "exact.wmlc"}, dir_.path()).status, 0);
    QCOMPARE(contents("exact.wmlc").toHex(' '), kCompiledSample.toHex(' '));
  }

  void failedCompileKeepsTheOldFile() {
    put("kept.wmlc", "old");
    QCOMPARE(run({"--compile", "broken.wml", "-o", "kept.wmlc"}, dir_.path()).status, 1);
    QCOMPARE(contents("kept.wmlc"), QByteArray("old"));
  }

  void decompilePrintsSource() {
    const Run result = run({"--decompile", "deck.wmlc"}, dir_.path());
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                    "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                                    "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
                                    "<wml>\n  <card id=\"a\">\n    <p>Hi $(x)</p>\n  </card>\n"
                                    "</wml>\n"));
  }

  void wbmpDitheringChoices_data() {
    QTest::addColumn<QString>("dither");
    QTest::newRow("threshold") << "threshold";
    QTest::newRow("ordered") << "ordered";
    QTest::newRow("diffusion") << "diffusion";
  }
  void wbmpDitheringChoices() {
    QFETCH(QString, dither);
    const QString name = dither + ".wbmp";
    QCOMPARE(run({"--wbmp", "picture.png", "-o", name, "--dither", dither}, dir_.path()).status, 0);
    // Header 00 00, 10 x 2; the black pixel at the top left, the rest white
    // (pure black and white need no dithering).
    QCOMPARE(contents(name).toHex(' '), QByteArray("00 00 0a 02 7f c0 ff c0"));
  }
};

QTEST_GUILESS_MAIN(TestDeckCommandLine)
#include "tst_deckcommandline.moc"
