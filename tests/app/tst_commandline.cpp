// The command line as a whole: which mode runs, what a wrong command line
// says (the option and the value at fault, then one line of usage) and the
// exit statuses build scripts rely on.
#include "app/CommandLine.h"
#include "app/ProgramModes.h"

#include <QTest>

class CommandLineTest : public QObject {
  Q_OBJECT
private slots:
  void usageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("err");
    auto row = [](const char* name, QStringList arguments, const char* err) {
      QTest::newRow(name) << arguments << QString::fromUtf8(err);
    };
    const char* compileUsage =
        "Usage: tessera --compile IN.wml|IN.wmls [-o OUT] [--budget N] [--force] "
        "[--no-string-table]\n";
    row("two modes", {"--check", "a.wml", "--compile", "b.wml"},
        "tessera: --check and --compile: one mode at a time\n"
        "Usage: tessera --check FILE|DIR... [--budget N] [--profile NAME] [--entry FILE] [--format "
        "text|sarif]\n");
    row("unknown option with two dashes", {"--check", "a.wml", "--frobnicate"},
        "tessera: unknown option --frobnicate\nUsage: tessera --check FILE|DIR... [--budget N] "
        "[--profile NAME] [--entry FILE] [--format text|sarif]\n");
    row("unknown option with one dash", {"--check", "-style", "fusion", "a.wml"},
        "tessera: unknown option -style\nUsage: tessera --check FILE|DIR... [--budget N] "
        "[--profile NAME] [--entry FILE] [--format text|sarif]\n");
    row("unknown option with a value", {"--compile", "a.wml", "--level=3"},
        (QByteArray("tessera: unknown option --level\n") + compileUsage).constData());
    row("option of another mode", {"--compile", "a.wml", "-o", "a.wmlc", "--port", "80"},
        (QByteArray("tessera: --port: only with --serve\n") + compileUsage).constData());
    row("option of two modes", {"--check", "a.wml", "-o", "a.wmlc"},
        "tessera: -o: only with --compile or --wbmp\nUsage: tessera --check FILE|DIR... [--budget "
        "N] [--profile NAME] [--entry FILE] [--format text|sarif]\n");
    row("value missing at the end", {"--compile", "a.wml", "-o"},
        (QByteArray("tessera: -o: expected OUT after it\n") + compileUsage).constData());
    row("long form of -o missing its value", {"--wbmp", "a.png", "--output"},
        "tessera: --output: expected OUT after it\nUsage: tessera --wbmp IN.png -o OUT.wbmp "
        "[--dither threshold|ordered|diffusion] [--threshold 0-255]\n");
    row("no file to check", {"--check"},
        "tessera: --check needs at least one file or folder\nUsage: tessera --check FILE|DIR... "
        "[--budget N] "
        "[--profile NAME] [--entry FILE] [--format text|sarif]\n");
    row("two inputs", {"--compile", "a.wml", "b.wml", "-o", "c.wmlc"},
        (QByteArray("tessera: --compile b.wml: one input file at a time\n") + compileUsage)
            .constData());
    row("no input", {"--compile", "-o", "c.wmlc"},
        (QByteArray("tessera: --compile: the input file is missing\n") + compileUsage).constData());
    row("dithering", {"--wbmp", "a.png", "-o", "a.wbmp", "--dither", "floyd"},
        "tessera: --dither floyd: expected threshold, ordered or diffusion\n"
        "Usage: tessera --wbmp IN.png -o OUT.wbmp [--dither threshold|ordered|diffusion] "
        "[--threshold 0-255]\n");
    row("threshold not a number", {"--wbmp", "a.png", "-o", "a.wbmp", "--threshold", "grey"},
        "tessera: --threshold grey: expected a number from 0 to 255\n"
        "Usage: tessera --wbmp IN.png -o OUT.wbmp [--dither threshold|ordered|diffusion] "
        "[--threshold 0-255]\n");
    row("version with more", {"--version", "a.wml"},
        "tessera: --version: takes nothing else\n"
        "Usage: tessera [FILE] (tessera --help lists the modes and options)\n");
    row("disassemble two units", {"--disassemble", "a.wmlsc", "b.wmlsc"},
        "tessera: --disassemble b.wmlsc: one input file at a time\n"
        "Usage: tessera --disassemble IN.wmlsc\n");
  }
  void usageErrors() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, err);
    QString outText;
    QString errText;
    QTextStream out(&outText);
    QTextStream errStream(&errText);
    QCOMPARE(tessera::runWindowless(arguments, out, errStream, tessera::programModeRunner),
             tessera::kExitUsage);
    errStream.flush();
    QCOMPARE(errText, err);
    out.flush();
    QCOMPARE(outText, QString());
  }

  // What is left once the toolkit took its own options: the file to open,
  // or a refusal naming what is wrong.
  void editorArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("err");
    QTest::newRow("nothing") << QStringList{"tessera"} << ""
                             << "";
    QTest::newRow("a file") << QStringList{"tessera", "deck.wml"} << "deck.wml"
                            << "";
    QTest::newRow("a file after --") << QStringList{"tessera", "--", "-odd.wml"} << "-odd.wml"
                                     << "";
    QTest::newRow("two files")
        << QStringList{"tessera", "a.wml", "b.wml"} << QString()
        << "tessera: b.wml: the editor opens one FILE at a time\n"
           "Usage: tessera [FILE] (tessera --help lists the modes and options)\n";
    QTest::newRow("unknown option")
        << QStringList{"tessera", "--frobnicate", "a.wml"} << QString()
        << "tessera: unknown option --frobnicate\n"
           "Usage: tessera [FILE] (tessera --help lists the modes and options)\n";
    QTest::newRow("an option of a mode")
        << QStringList{"tessera", "a.wml", "--dither", "ordered"} << QString()
        << "tessera: --dither: only with --wbmp\n"
           "Usage: tessera [FILE] (tessera --help lists the modes and options)\n";
  }
  void editorArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QFETCH(QString, err);
    QString errText;
    QTextStream errStream(&errText);
    const std::optional<QString> opened = tessera::editorFile(arguments, errStream);
    errStream.flush();
    QCOMPARE(opened.has_value(), !file.isNull());
    if (opened)
      QCOMPARE(*opened, file);
    QCOMPARE(errText, err);
  }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
