#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The real executable's command-line modes: what they print, where, and the
// exit statuses scripts rely on. None of them needs a display.
class CheckCommandTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void runs_data();
  void runs();

private:
  QTemporaryDir dir_;
  QString program_;
};

namespace {

struct Run {
  int status = -1;
  QString out;
  QString err;
};

void write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

} // namespace

void CheckCommandTest::initTestCase() {
  program_ = QCoreApplication::applicationDirPath() + "/../bin/tessera";
  QVERIFY2(QFile::exists(program_), qPrintable(program_));
  QVERIFY(dir_.isValid());
  const QByteArray header = "<?xml version=\"1.0\"?>\r\n"
                            "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                            "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\r\n";
  write(dir_.filePath("valid.wml"),
        header + "<wml>\r\n<card id=\"a\" title=\"A\">\r\n<p>Hello&nbsp;world</p>\r\n</card>\r\n"
                 "</wml>\r\n");
  write(dir_.filePath("invalid.wml"),
        header +
            "<wml>\r\n<card id=\"a\">\r\n<p align=\"middle\">5$ <a href=\"#b\">x</a></p>\r\n"
            "</card>\r\n<card id=\"a\"><p><a href=\"gone.wml\">y</a></p></card>\r\n</wml>\r\n");
  write(dir_.filePath("nodoctype.wml"), "<wml><card><p>x</p></card></wml>\n");
  write(dir_.filePath("broken.wml"), "<wml>\n<card>\n</wml>\n");
  // Read in the encoding the editor opens them in: a byte-order mark, the
  // declared charset.
  const QString valid =
      QString::fromUtf8(header) +
      "<wml>\r\n<card id=\"a\" title=\"\u00c1\">\r\n<p>x</p>\r\n</card>\r\n</wml>\r\n";
  write(dir_.filePath("utf16.wml"),
        QByteArray("\xFF\xFE") +
            QByteArray(reinterpret_cast<const char*>(valid.utf16()), valid.size() * 2));
  write(dir_.filePath("cyrillic.wml"),
        "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n"
        "<wml>\r\n<card id=\"a\"><p><a href=\"#\xCF\xF0\xE8\">x</a></p></card>\r\n</wml>\r\n");
}

void CheckCommandTest::runs_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("out");
  QTest::addColumn<QString>("errStart");

  QTest::newRow("valid deck") << QStringList{"--check", "valid.wml"} << 0 << ""
                              << "";
  QTest::newRow("invalid deck")
      << QStringList{"--check", "invalid.wml"} << 1
      << "invalid.wml:5:1: error: The attribute \"align\" of <p> cannot be \"middle\"; it may be "
         "\"left\", \"right\", \"center\". [not-valid]\n"
         "invalid.wml:5:20: error: Malformed variable reference in the text of <p>: a lone \"$\" "
         "must be written \"$$\". [bad-variable]\n"
         "invalid.wml:5:22: error: The href \"#b\" of <a> points to a card that does not exist: "
         "no card has the id \"b\". [dangling-card-link]\n"
         "invalid.wml:7:1: error: The id \"a\" of this <card> is already used by the card on line "
         "4. [duplicate-card-id]\n"
         "invalid.wml:7:17: warning: The href \"gone.wml\" of <a> names a file that does not "
         "exist beside the deck. [missing-file]\n"
      << "";
  QTest::newRow("warnings alone") << QStringList{"--check", "nodoctype.wml"} << 0
                                  << "nodoctype.wml:1:1: warning: The deck has no DOCTYPE; it is "
                                     "checked as WML 1.1. [no-doctype]\n"
                                  << "";
  QTest::newRow("not well-formed")
      << QStringList{"--check", "broken.wml", "valid.wml"} << 1
      << "broken.wml:1:1: warning: The deck has no DOCTYPE; it is checked as WML 1.1. "
         "[no-doctype]\n"
         "broken.wml:3:7: error: Opening and ending tag mismatch: card line 2 and wml "
         "[not-well-formed]\n"
         "broken.wml:4:1: error: Premature end of data in tag wml line 1 [not-well-formed]\n"
      << "";
  QTest::newRow("UTF-16 with a byte-order mark") << QStringList{"--check", "utf16.wml"} << 0 << ""
                                                 << "";
  QTest::newRow("declared windows-1251")
      << QStringList{"--check", "cyrillic.wml"} << 1
      << "cyrillic.wml:1:1: warning: The deck has no DOCTYPE; it is checked as WML 1.1. "
         "[no-doctype]\n"
         "cyrillic.wml:3:17: error: The href \"#\u041f\u0440\u0438\" of <a> points to a card that "
         "does not exist: no card has the id \"\u041f\u0440\u0438\". [dangling-card-link]\n"
      << "";
  QTest::newRow("unreadable file beats findings")
      << QStringList{"--check", "invalid.wml", "missing.wml"} << 2 << QString()
      << "tessera: cannot read missing.wml: ";
  QTest::newRow("no file") << QStringList{"--check"} << 2 << ""
                           << "tessera: --check needs at least one file\n"
                              "Usage: tessera --check FILE...\n";
  QTest::newRow("unknown option") << QStringList{"--check", "--frobnicate", "x.wml"} << 2 << ""
                                  << "tessera: unknown option --frobnicate\n"
                                     "Usage: tessera --check FILE...\n";
  QTest::newRow("version") << QStringList{"--version"} << 0 << "WML Tessera 1.0.9.9\n"
                           << "";
  QTest::newRow("help")
      << QStringList{"--help"} << 0
      << "Usage: tessera [FILE]\n"
         "       tessera --check FILE...\n"
         "       tessera --compile IN.wml -o OUT.wmlc [--no-string-table] | IN.wmls -o "
         "OUT.wmlsc\n"
         "       tessera --decompile IN.wmlc\n"
         "       tessera --wbmp IN.png -o OUT.wbmp [--dither "
         "threshold|ordered|diffusion] [--threshold 0-255]\n"
         "       tessera --serve DIR [--port N] [--bind ADDRESS]\n"
         "       tessera --disassemble IN.wmlsc\n"
         "       tessera --run UNIT 'f(ARGS)' [--var NAME=VALUE]... [--answer TEXT]...\n"
         "       tessera --version | --help\n\n"
         "Without an option, opens FILE (or a new deck) in the editor.\n\n"
         "  --check FILE...\n"
         "      Checks each WML deck or WMLScript unit (.wmls) and prints "
         "FILE:LINE:COLUMN: error: message (or warning:) for every finding; exits 1 "
         "when any file has an error, 2 when a file cannot be read.\n"
         "  --compile IN.wml -o OUT.wmlc [--no-string-table] | IN.wmls -o OUT.wmlsc\n"
         "      Compiles a deck to WBXML as a WAP gateway would, or a WMLScript unit to "
         "its bytecode, and prints its size; exits 1 when the deck is not well-formed or "
         "the unit does not compile (nothing is written then).\n"
         "  --decompile IN.wmlc\n"
         "      Prints the WML source of a compiled deck; exits 1 when it cannot "
         "be decoded.\n"
         "  --wbmp IN.png -o OUT.wbmp [--dither threshold|ordered|diffusion] "
         "[--threshold 0-255]\n"
         "      Converts a picture (PNG, JPEG, GIF, BMP) to a one-bit WBMP, error "
         "diffusion by default, and prints its size; exits 1 when it is not a "
         "picture.\n"
         "  --serve DIR [--port N] [--bind ADDRESS]\n"
         "      Serves the folder to a phone (decks compiled when the phone prefers "
         "them so), on 127.0.0.1 port 8080 unless told otherwise, printing one line "
         "per request, until interrupted; exits 2 when the port cannot be taken.\n"
         "  --disassemble IN.wmlsc\n"
         "      Prints the constants, pragmas and functions with their instructions of "
         "WMLScript bytecode; exits 1 when it is not bytecode or does not verify.\n"
         "  --run UNIT 'f(ARGS)' [--var NAME=VALUE]... [--answer TEXT]...\n"
         "      Runs the extern function f of a WMLScript unit (.wmls or .wmlsc) with the "
         "given browser variables and dialog answers; prints the dialogs, ret, the variables "
         "and the navigation; exits 1 when the unit does not compile or verify or the run ends "
         "in a fatal error.\n"
         "  --version\n      Prints the program's version.\n"
         "  --help\n      Prints this text.\n"
      << "";
}

void CheckCommandTest::runs() {
  QFETCH(QStringList, arguments);
  QFETCH(int, status);
  QFETCH(QString, out);
  QFETCH(QString, errStart);
  QProcess process;
  process.setWorkingDirectory(dir_.path());
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  environment.remove("QT_QPA_PLATFORM");
  process.setProcessEnvironment(environment);
  process.start(program_, arguments);
  QVERIFY(process.waitForFinished(60000));
  QCOMPARE(process.exitStatus(), QProcess::NormalExit);
  const QString stdOut = QString::fromUtf8(process.readAllStandardOutput());
  const QString stdErr = QString::fromUtf8(process.readAllStandardError());
  QCOMPARE(process.exitCode(), status);
  if (!out.isNull())
    QCOMPARE(stdOut, out);
  if (errStart.isEmpty())
    QCOMPARE(stdErr, QString());
  else
    QVERIFY2(stdErr.startsWith(errStart), qPrintable(stdErr));
}

QTEST_GUILESS_MAIN(CheckCommandTest)
#include "tst_checkcommand.moc"
