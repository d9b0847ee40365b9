// The real executable's --compile, --decompile and --wbmp modes: exit
// status, what they print and the files they write.
#include "CompiledSample.h"

#include <QCoreApplication>
#include <QDir>
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
    QVERIFY(QDir(dir_.path()).mkpath("site"));
    put("site/beside.wml", kDeck);
    put("dangling.wml", QByteArray(kDeck).replace("Hi $(x)", "<a href=\"#b\">b</a>"));
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
        << QByteArray("broken.wml:1:1: warning: The deck has no DOCTYPE; it is checked as WML "
                      "1.1. [no-doctype]\nbroken.wml:");
    QTest::newRow("compile missing file")
        << QStringList{"--compile", "missing.wml", "-o", "out3.wmlc"} << 2 << QByteArray()
        << QByteArray("missing.wml: cannot read: ");
    QTest::newRow("compile into a missing folder")
        << QStringList{"--compile", "deck.wml", "-o", "no/such/out.wmlc"} << 2 << QByteArray()
        << QByteArray("no/such/out.wmlc: cannot write: ");
    QTest::newRow("decompile truncated")
        << QStringList{"--decompile", "truncated.wmlc"} << 1 << QByteArray()
        << QByteArray("truncated.wmlc: cannot open compiled deck: the file ends in the middle of "
                      "the deck\n");
    QTest::newRow("decompile corrupted")
        << QStringList{"--decompile", "corrupted.wmlc"} << 1 << QByteArray()
        << QByteArray("corrupted.wmlc: cannot open compiled deck: a tag token is not one of "
                      "WML's\n");
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

  // What a build script sees: the checks' findings on standard error, an
  // error (or a deck over the budget) keeping the file from being written
  // unless --force, and the output beside the input when -o is left out.
  void buildScripts_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<QString>("written"); // the file that must exist after, or not ("!name")
    const QByteArray dangling =
        "dangling.wml:3:22: error: The href \"#b\" of <a> points to a card that does not exist: "
        "no card has the id \"b\". [dangling-card-link]\n";
    const QByteArray overBudget = "deck.wml:3:1: error: Compiled deck is 23 bytes, over the budget "
                                  "of 10 bytes [over-budget]\n";
    QTest::newRow("an error keeps the deck from being written")
        << QStringList{"--compile", "dangling.wml", "-o", "d1.wmlc"} << 1 << QByteArray()
        << dangling + "dangling.wml: not compiled: 1 error(s); --force writes it all the same\n"
        << "!d1.wmlc";
    QTest::newRow("--force writes it all the same")
        << QStringList{"--compile", "dangling.wml", "-o", "d2.wmlc", "--force"} << 0
        << QByteArray("d2.wmlc: 26 bytes\n") << dangling << "d2.wmlc";
    QTest::newRow("over the budget is an error")
        << QStringList{"--compile", "deck.wml", "-o", "b1.wmlc", "--budget", "10"} << 1
        << QByteArray()
        << overBudget + "deck.wml: not compiled: 1 error(s); --force writes it all the same\n"
        << "!b1.wmlc";
    QTest::newRow("within the budget")
        << QStringList{"--compile", "deck.wml", "-o", "b2.wmlc", "--budget", "23"} << 0
        << QByteArray("b2.wmlc: 23 bytes\n") << QByteArray() << "b2.wmlc";
    QTest::newRow("check over the budget") << QStringList{"--check", "deck.wml", "--budget", "10"}
                                           << 1 << overBudget << QByteArray() << "";
    QTest::newRow("check within the budget") << QStringList{"--check", "--budget", "23", "deck.wml"}
                                             << 0 << QByteArray() << QByteArray() << "";
    QTest::newRow("budget not a number")
        << QStringList{"--check", "deck.wml", "--budget", "1k"} << 2 << QByteArray()
        << QByteArray("tessera: --budget 1k: expected a number of bytes above 0\n"
                      "Usage: tessera --check FILE|DIR... [--budget N] [--profile NAME] [--entry "
                      "FILE] [--format text|sarif]\n")
        << "";
    QTest::newRow("beside the input without -o")
        << QStringList{"--compile", "site/beside.wml"} << 0
        << QByteArray("site/beside.wmlc: 23 bytes\n") << QByteArray() << "site/beside.wmlc";
    QTest::newRow("an empty -o is wrong")
        << QStringList{"--compile", "deck.wml", "-o", ""} << 2 << QByteArray()
        << QByteArray("tessera: --compile: -o OUT is missing\n"
                      "Usage: tessera --compile IN.wml|IN.wmls [-o OUT] [--budget N] [--force] "
                      "[--no-string-table]\n")
        << "";
  }
  void buildScripts() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(QString, written);
    const Run result = run(arguments, dir_.path());
    QCOMPARE(result.err, err);
    QCOMPARE(result.out, out);
    QCOMPARE(result.status, status);
    if (written.startsWith(u'!'))
      QVERIFY(!QFileInfo::exists(dir_.filePath(written.mid(1))));
    else if (!written.isEmpty())
      QVERIFY(QFileInfo::exists(dir_.filePath(written)));
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
