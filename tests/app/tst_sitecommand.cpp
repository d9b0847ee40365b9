#include "BytecodeBuilder.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// "tessera --check DIR" on a site with one fault of each kind: exactly those
// lines, the summary and the exit status; the same as SARIF read back.
class SiteCommandTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void checksFolders_data();
  void checksFolders();
  void sarifForCodeScanning();

private:
  struct Run {
    int status = -1;
    QString out;
    QString err;
  };
  Run run(const QStringList& arguments) const;

  QTemporaryDir dir_;
  QString program_;
};

namespace {

void write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

const QByteArray kHeader = "<?xml version=\"1.0\"?>\n"
                           "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                           "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
                           "<wml>\n";

// A one-bit WBMP of the given size, all white.
QByteArray wbmp(int width, int height) {
  QByteArray bytes("\x00\x00", 2);
  bytes += bytecode::mb(quint32(width));
  bytes += bytecode::mb(quint32(height));
  bytes += QByteArray(((width + 7) / 8) * height, char(0xFF));
  return bytes;
}

QByteArray returnsEmpty() { return QByteArray(1, char(tessera::wml::script::Opcode::ReturnEs)); }

} // namespace

void SiteCommandTest::initTestCase() {
  program_ = QCoreApplication::applicationDirPath() + "/../bin/tessera";
  QVERIFY2(QFile::exists(program_), qPrintable(program_));
  QVERIFY(dir_.isValid());
  const QString site = dir_.filePath("site/");
  write(site + "index.wml", kHeader + "<card id=\"home\" title=\"Home\">\n"
                                      "<p><a href=\"news.wml#gone\">News</a>\n"
                                      "<a href=\"missing.wml\">Missing</a>\n"
                                      "<a href=\"broken.wml\">Broken</a>\n"
                                      "<a href=\"/sub/calc.wmlsc#total(1)\">Sum</a>\n"
                                      "<a href=\"locked.wmlsc#f()\">Locked</a>\n"
                                      "<img src=\"wide.wbmp\" alt=\"w\"/>\n"
                                      "<img src=\"bad.png\" alt=\"b\"/>\n"
                                      "<a href=\"news.wml#top\">Top</a></p>\n"
                                      "</card>\n</wml>\n");
  write(site + "news.wml", kHeader + "<card id=\"top\" title=\"News\">\n<p>" +
                               QByteArray(1500, 'n') + "</p>\n</card>\n</wml>\n");
  write(site + "broken.wml", "<wml>\n<card>\n</wml>\n");
  write(site + "lone.wml", kHeader + "<card id=\"l\"><p>alone</p></card>\n</wml>\n");
  write(site + "sub/calc.wmlsc", bytecode::unit({}, {{"total", 2, 0, returnsEmpty()}}));
  write(site + "locked.wmlsc",
        bytecode::unit({bytecode::utf8("example.com")}, {{"f", 0, 0, returnsEmpty()}},
                       {bytecode::accessDomain(0)}));
  write(site + "wide.wbmp", wbmp(150, 10));
  write(site + "bad.png", "this is no picture");
  write(site + "readme.txt", "not part of the check");
  // A link out of the folder is not followed: the broken deck it leads to
  // is no part of the site.
  write(dir_.filePath("elsewhere/outside.wml"), "<wml><card>");
  QVERIFY(QFile::link(dir_.filePath("elsewhere/outside.wml"), site + "outside.wml"));
  QVERIFY(QFile::link(dir_.filePath("elsewhere"), site + "elsewhere"));

  write(dir_.filePath("clean/index.wml"),
        kHeader + "<card id=\"a\" title=\"A\"><p>fine</p></card>\n</wml>\n");
}

SiteCommandTest::Run SiteCommandTest::run(const QStringList& arguments) const {
  QProcess process;
  process.setWorkingDirectory(dir_.path());
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("QT_QPA_PLATFORM");
  process.setProcessEnvironment(environment);
  process.start(program_, arguments);
  Run result;
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
    return result;
  result.status = process.exitCode();
  result.out = QString::fromUtf8(process.readAllStandardOutput());
  result.err = QString::fromUtf8(process.readAllStandardError());
  return result;
}

void SiteCommandTest::checksFolders_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("out");
  QTest::addColumn<QString>("err");

  const QString faults =
      "site/broken.wml:1:1: warning: The deck has no DOCTYPE; it is checked as WML 1.1. "
      "[no-doctype]\n"
      "site/broken.wml:2:1: error: <card> opened here is not closed before </wml> on line 3. "
      "[unclosed-tag]\n"
      "site/index.wml:5:4: error: The href \"news.wml#gone\" of <a> points to a card that does "
      "not exist: news.wml has no card with the id \"gone\". [dangling-card-link]\n"
      "site/index.wml:6:1: warning: The href \"missing.wml\" of <a> names a file that does not "
      "exist beside the deck. [missing-file]\n"
      "site/index.wml:7:1: error: The href \"broken.wml\" of <a> points to broken.wml, which is "
      "not a well-formed deck. [broken-deck-link]\n"
      "site/index.wml:8:1: error: calc.wmlsc#total takes 2 arguments; the call passes 1. "
      "[wrong-argument-count]\n"
      "site/index.wml:9:1: error: The href \"locked.wmlsc#f()\" of <a> calls locked.wmlsc, whose "
      "\"use access\" pragma does not let http://localhost/index.wml call it. [access-denied]\n"
      "site/index.wml:10:1: warning: The picture wide.wbmp is 150 × 10 pixels, larger than the "
      "phone's 128 × 128 screen. [picture-too-large]\n"
      "site/index.wml:11:1: error: The src \"bad.png\" of <img> names bad.png, which cannot be "
      "read: not a picture this program can decode (Unsupported image format) [bad-picture]\n";
  const QString lone =
      "site/lone.wml:1:1: note: Nothing reaches this file from index.wml. [unreachable-file]\n";
  QTest::newRow("one fault of each kind")
      << QStringList{"--check", "site"} << 1 << faults + lone
      << "site: Checked 8 files (4 decks, 2 scripts, 2 pictures): 6 errors, 3 warnings, 1 "
         "note.\n";
  QTest::newRow("budget given") << QStringList{"--check", "site/", "--budget", "1000"} << 1
                                << faults + lone << "";
  QTest::newRow("a larger phone")
      << QStringList{"--check", "site", "--profile", "176x208"} << 1
      << QString(faults).remove(QRegularExpression(".*picture-too-large.*\\n")) + lone
      << "site: Checked 8 files (4 decks, 2 scripts, 2 pictures): 6 errors, 2 warnings, 1 "
         "note.\n";
  QTest::newRow("clean site") << QStringList{"--check", "clean"} << 0 << ""
                              << "clean: Checked 1 file (1 deck, 0 scripts, 0 pictures): 0 "
                                 "errors, 0 warnings, 0 notes.\n";
  QTest::newRow("another entry")
      << QStringList{"--check", "clean", "--entry", "start.wml"} << 0
      << "clean: note: The site has no entry deck start.wml, so files nothing reaches are not "
         "looked for. [no-entry-deck]\n"
      << "clean: Checked 1 file (1 deck, 0 scripts, 0 pictures): 0 errors, 0 warnings, 1 "
         "note.\n";
  QTest::newRow("folder that does not exist") << QStringList{"--check", "nowhere/"} << 2 << ""
                                              << "tessera: cannot read nowhere/: ";
  QTest::newRow("unknown profile")
      << QStringList{"--check", "clean", "--profile", "huge"} << 2 << ""
      << "tessera: --profile huge: expected one of 96x65, 128x128, 176x208\n";
  QTest::newRow("unknown format") << QStringList{"--check", "clean", "--format", "xml"} << 2 << ""
                                  << "tessera: --format xml: expected text or sarif\n";
}

void SiteCommandTest::checksFolders() {
  QFETCH(QStringList, arguments);
  QFETCH(int, status);
  QFETCH(QString, out);
  QFETCH(QString, err);
  Run result = run(arguments);
  QCOMPARE(result.status, status);
  if (QTest::currentDataTag() == QLatin1String("budget given")) {
    // The news deck alone is over: its compiled text is 1500 bytes and more.
    // Over a budget given on the command line is an error, as for one deck.
    const QString over = "site/news.wml:3:1: error: Compiled deck is ";
    QVERIFY2(result.out.contains(over), qPrintable(result.out));
    const qsizetype at = result.out.indexOf(over);
    const QString line = result.out.mid(at, result.out.indexOf('\n', at) - at + 1);
    QVERIFY(line.endsWith(" bytes, over the budget of 1000 bytes [over-budget]\n"));
    result.out.remove(at, line.size());
  }
  QCOMPARE(result.out.split(u'\n'), out.split(u'\n'));
  if (!err.isEmpty())
    QVERIFY2(result.err.startsWith(err), qPrintable(result.err));
}

void SiteCommandTest::sarifForCodeScanning() {
  const Run result = run({"--check", "site", "--format", "sarif"});
  QCOMPARE(result.status, 1);
  QJsonParseError problem;
  const QJsonObject log = QJsonDocument::fromJson(result.out.toUtf8(), &problem).object();
  QCOMPARE(problem.error, QJsonParseError::NoError);
  QCOMPARE(log["version"].toString(), "2.1.0");
  QVERIFY(log["$schema"].toString().contains("sarif-2.1.0"));
  const QJsonObject run = log["runs"].toArray().at(0).toObject();
  const QJsonObject driver = run["tool"]["driver"].toObject();
  QCOMPARE(driver["name"].toString(), "tessera");
  QStringList rules;
  for (const QJsonValue rule : driver["rules"].toArray())
    rules.append(rule["id"].toString());
  const QJsonArray results = run["results"].toArray();
  QCOMPARE(results.size(), 10);
  QStringList levels;
  for (const QJsonValue value : results) {
    const QJsonObject found = value.toObject();
    // Every result names a rule the driver lists, at the index it gives.
    QCOMPARE(rules.value(found["ruleIndex"].toInt()), found["ruleId"].toString());
    QVERIFY(!found["message"]["text"].toString().isEmpty());
    levels.append(found["level"].toString());
  }
  QCOMPARE(levels.count("error"), 6);
  QCOMPARE(levels.count("warning"), 3);
  QCOMPARE(levels.count("note"), 1);
  const QJsonObject dangling = results.at(2).toObject();
  QCOMPARE(dangling["ruleId"].toString(), "dangling-card-link");
  const QJsonObject place = dangling["locations"][0]["physicalLocation"].toObject();
  QCOMPARE(place["artifactLocation"]["uri"].toString(), "site/index.wml");
  const QJsonObject region = place["region"].toObject();
  QCOMPARE(region["startLine"].toInt(), 5);
  QCOMPARE(region["startColumn"].toInt(), 4);
  QCOMPARE(region["endLine"].toInt(), 5);
  QCOMPARE(region["endColumn"].toInt(), 5);
}

QTEST_GUILESS_MAIN(SiteCommandTest)
#include "tst_sitecommand.moc"
