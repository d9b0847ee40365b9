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
         "broken.wml:2:1: error: <card> opened here is not closed before </wml> on line 3. "
         "[unclosed-tag]\n"
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
                           << "tessera: --check needs at least one file or folder\n"
                              "Usage: tessera --check FILE|DIR... [--budget N] [--profile NAME] "
                              "[--entry FILE] [--format text|sarif]\n";
  QTest::newRow("unknown option") << QStringList{"--check", "--frobnicate", "x.wml"} << 2 << ""
                                  << "tessera: unknown option --frobnicate\n"
                                     "Usage: tessera --check FILE|DIR... [--budget N] [--profile "
                                     "NAME] [--entry FILE] [--format text|sarif]\n";
  QTest::newRow("version") << QStringList{"--version"} << 0 << "WML Tessera 1.0.9.9\n"
                           << "";
  QTest::newRow("help")
      << QStringList{"--help"} << 0
      << "Usage: tessera [FILE]\n"
         "       tessera --check FILE|DIR... [--budget N] [--profile NAME] [--entry FILE] "
         "[--format text|sarif]\n"
         "       tessera --compile IN.wml|IN.wmls [-o OUT] [--budget N] [--force] "
         "[--no-string-table]\n"
         "       tessera --decompile IN.wmlc\n"
         "       tessera --wbmp IN.png -o OUT.wbmp [--dither threshold|ordered|diffusion] "
         "[--threshold 0-255]\n"
         "       tessera --serve DIR [--port N] [--bind ADDRESS]\n"
         "       tessera --disassemble IN.wmlsc\n"
         "       tessera --run UNIT 'f(ARGS)' [--var NAME=VALUE]... [--answer TEXT]...\n"
         "       tessera --inspect FILE...\n"
         "       tessera --version | --help\n"
         "\n"
         "Without a mode, opens FILE (or a new deck) in the editor; the toolkit's own\n"
         "options (-style, -platform, ...) are taken then.\n"
         "\n"
         "Options:\n"
         "  --check              Checks each WML deck or WMLScript unit (.wmls), and each\n"
         "                       folder as one site (its decks, scripts and pictures and\n"
         "                       the links between them), and prints FILE:LINE:COLUMN:\n"
         "                       error: message [rule] (or warning:, note:) for every\n"
         "                       finding, or a SARIF log; exits 1 when any finding is an\n"
         "                       error, 2 when a file or folder cannot be read.\n"
         "  --compile            Checks a deck, printing the findings on standard error,\n"
         "                       and compiles it to WBXML as a WAP gateway would, or a\n"
         "                       WMLScript unit to its bytecode (beside it, IN.wmlc or\n"
         "                       IN.wmlsc, unless -o says otherwise), printing its size;\n"
         "                       exits 1 and writes nothing when the deck is not\n"
         "                       well-formed, the unit does not compile or the checks find\n"
         "                       an error (unless --force).\n"
         "  --decompile          Prints the WML source of a compiled deck; exits 1 when\n"
         "                       it cannot be decoded.\n"
         "  --wbmp               Converts a picture (PNG, JPEG, GIF, BMP) to a one-bit\n"
         "                       WBMP, error diffusion by default, and prints its size;\n"
         "                       exits 1 when it is not a picture.\n"
         "  --serve              Serves the folder to a phone (decks compiled when the\n"
         "                       phone prefers them so), on 127.0.0.1 port 8080 unless\n"
         "                       told otherwise, printing one line per request, until\n"
         "                       interrupted; exits 2 when the port cannot be taken.\n"
         "  --disassemble        Prints the constants, pragmas and functions with their\n"
         "                       instructions of WMLScript bytecode; exits 1 when it is\n"
         "                       not bytecode or does not verify.\n"
         "  --run                Runs the extern function f of a WMLScript unit (.wmls or\n"
         "                       .wmlsc) with the given browser variables and dialog\n"
         "                       answers; prints the dialogs, ret, the variables and the\n"
         "                       navigation; exits 1 when the unit does not compile or\n"
         "                       verify or the run ends in a fatal error.\n"
         "  --inspect            Prints what each compiled deck, compiled script or\n"
         "                       picture holds as one JSON line (the site check decodes\n"
         "                       them this way, in a process of their own).\n"
         "  -o, --output <OUT>   The file --compile or --wbmp writes.\n"
         "  --budget <N>         --check, --compile: a compiled deck over N bytes is an\n"
         "                       error.\n"
         "  --profile <NAME>     --check: the phone whose screen a site's pictures must\n"
         "                       fit (96x65, 128x128 or 176x208; the preview's 128x128\n"
         "                       unless told).\n"
         "  --entry <FILE>       --check: the deck a site is entered by, for what nothing\n"
         "                       reaches (index.wml unless told).\n"
         "  --format <FORMAT>    --check: text (the default) or sarif, a SARIF 2.1.0 log\n"
         "                       for code-scanning services.\n"
         "  --force              --compile: writes the deck even when the checks find\n"
         "                       errors (exit 0).\n"
         "  --no-string-table    --compile: every string inline, without the string\n"
         "                       table.\n"
         "  --dither <METHOD>    --wbmp: threshold, ordered or diffusion (the default).\n"
         "  --threshold <LEVEL>  --wbmp: the grey level (0-255) from which a pixel is\n"
         "                       white; 128 unless told.\n"
         "  --port <N>           --serve: the port to listen on, 8080 unless told; 0\n"
         "                       takes a free one.\n"
         "  --bind <ADDRESS>     --serve: the address to listen on, 127.0.0.1 unless\n"
         "                       told.\n"
         "  --var <NAME=VALUE>   --run: a browser variable the unit sees; as often as\n"
         "                       needed.\n"
         "  --answer <TEXT>      --run: the answer to the next dialog (ok or cancel for a\n"
         "                       confirm); as often as needed.\n"
         "  --line <N>           The editor: the line the caret goes to.\n"
         "  --column <N>         The editor: the column (character) the caret goes to in\n"
         "                       that line.\n"
         "  -h, --help           Prints this text.\n"
         "  --version            Prints the program's version.\n"
         "\n"
         "Arguments:\n"
         "  FILE                 The deck the editor opens.\n"
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
