#include "ReferenceCompiler.h"

#include "wml/script/ScriptCompiler.h"

#include <QDir>
#include <QTest>

using namespace tessera::wml;
using namespace tessera::wml::script;

// The real scripts of the shared corpus (../shared/corpus/wmls), compiled
// by us and by the reference compiler (wmlsc): the same verdicts (or the
// section of the standard that decides a difference), bytecode the
// reference disassembler reads with the same functions, and never larger.
class ScriptCorpusTest : public QObject {
  Q_OBJECT

  QString folder_;
  qint64 ourTotal_ = 0;
  qint64 referenceTotal_ = 0;

  QByteArray source(const QString& name) {
    QFile file(QDir(folder_).filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  // The corpus is ASCII but for comments, so the bytes read as UTF-8 are
  // what the editor would decode.
  ScriptCompileResult ours(const QString& name) {
    return compileScript(QString::fromUtf8(source(name)));
  }

private slots:
  void initTestCase() {
    folder_ = sharedCorpusFolder(QStringLiteral("wmls"));
    if (folder_.isEmpty())
      QSKIP("the shared corpus (../shared/corpus/wmls) is not there");
  }

  void corpus_data() {
    QTest::addColumn<QString>("file");
    // "ok", or our first error as "line:column rule".
    QTest::addColumn<QString>("ourResult");
    // "accepts" or "error L" (it prints lines only).
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("decidedBy");
    // clang-format off
    QTest::newRow("exp5 validate") << "ameythakur_exp5_validate.wmls" << "47:3 undefined-function" << "error 47" << "";
    QTest::newRow("exp6 calculator") << "ameythakur_exp6_calculator.wmls" << "ok" << "accepts" << "";
    QTest::newRow("vlab5 validate") << "ameythakur_vlab5_validate.wmls" << "ok" << "accepts" << "";
    QTest::newRow("curcal") << "devom3_curcal.wmls" << "ok" << "accepts" << "";
    QTest::newRow("form") << "devom3_form.wmls" << "ok" << "accepts" << "";
    QTest::newRow("ex") << "naveenraj_ex.wmls" << "ok" << "accepts" << "";
    QTest::newRow("area") << "wapagenda_area.wmls" << "ok" << "accepts" << "";
    QTest::newRow("energy") << "wapagenda_energy.wmls" << "ok" << "accepts" << "";
    QTest::newRow("length") << "wapagenda_length.wmls" << "ok" << "accepts" << "";
    QTest::newRow("mass") << "wapagenda_mass.wmls" << "ok" << "accepts" << "";
    QTest::newRow("power") << "wapagenda_power.wmls" << "ok" << "accepts" << "";
    QTest::newRow("pressure") << "wapagenda_pressure.wmls" << "ok" << "accepts" << "";
    QTest::newRow("velocity") << "wapagenda_velocity.wmls" << "ok" << "accepts" << "";
    QTest::newRow("volume") << "wapagenda_volume.wmls" << "ok" << "accepts" << "";
    QTest::newRow("captchacheck") << "winwap_captchacheck.wmls" << "ok" << "accepts" << "";
    QTest::newRow("check") << "winwap_check.wmls" << "ok" << "accepts" << "";
    QTest::newRow("condition") << "winwap_condition.wmls" << "ok" << "accepts" << "";
    QTest::newRow("memory") << "winwap_memory.wmls" << "ok" << "accepts" << "";
    QTest::newRow("diary validate") << "wmldiary_validate.wmls" << "3:9 undefined-function" << "error 3" << "";
    // clang-format on
  }
  void corpus() {
    QFETCH(QString, file);
    QFETCH(QString, ourResult);
    QFETCH(QString, reference);
    QFETCH(QString, decidedBy);
    const QByteArray bytes = source(file);
    QVERIFY2(!bytes.isEmpty(), qPrintable(file));
    const ScriptCompileResult result = ours(file);
    QString got = QStringLiteral("ok");
    for (const Finding& finding : result.findings)
      if (finding.severity == Severity::Error) {
        got = QStringLiteral("%1:%2 %3")
                  .arg(finding.start.line)
                  .arg(finding.start.column)
                  .arg(finding.rule);
        break;
      }
    QCOMPARE(got, ourResult);
    QCOMPARE(result.ok(), ourResult == QLatin1String("ok"));
    const QString ourVerdict = result.ok() ? QStringLiteral("accepts")
                                           : QStringLiteral("error ") + got.section(u':', 0, 0);
    QVERIFY2(ourVerdict == reference || !decidedBy.isEmpty(),
             "a difference from the reference compiler needs the section that decides it");

    const QString wmlsc = oracleProgram(QStringLiteral("wmlsc"));
    const QString wmlsdasm = oracleProgram(QStringLiteral("wmlsdasm"));
    if (wmlsc.isEmpty() || wmlsdasm.isEmpty())
      QSKIP("wmlsc and wmlsdasm are not unpacked (scripts/oracles.sh)");
    const ReferenceAnswer answer = runReferenceCompiler(wmlsc, bytes);
    QCOMPARE(answer.verdict, reference);
    if (!result.ok())
      return;
    // The reference disassembler reads ours without complaint.
    const Disassembly listing = runReferenceDisassembler(wmlsdasm, result.bytecode);
    QVERIFY2(listing.error.isEmpty(), qPrintable(listing.error));
    QVERIFY(!listing.listing.isEmpty());
    // The same functions, names and argument counts, in the same order.
    const QStringList ourFunctions = compiledFunctions(result.bytecode);
    QVERIFY(!ourFunctions.isEmpty());
    QCOMPARE(ourFunctions, compiledFunctions(answer.bytecode));
    qInfo("%s: ours %lld bytes, wmlsc %lld bytes", qPrintable(file), qint64(result.bytecode.size()),
          qint64(answer.bytecode.size()));
    QVERIFY(result.bytecode.size() <= answer.bytecode.size());
    ourTotal_ += result.bytecode.size();
    referenceTotal_ += answer.bytecode.size();
  }

  void cleanupTestCase() {
    if (referenceTotal_ > 0)
      qInfo("corpus total: ours %lld bytes, wmlsc %lld bytes", ourTotal_, referenceTotal_);
  }
};

QTEST_GUILESS_MAIN(ScriptCorpusTest)
#include "tst_scriptcorpus.moc"
