// Compiling a 100 KB WMLScript unit with `tessera --compile` against the
// reference compiler (wmlsc) on the same file, both run as processes, and
// the size of what each writes; typing at the end of such a unit in the
// editor with checking while typing on against off.
#include "Bench.h"
#include "Fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>

namespace {

// A unit of about `bytes` of source in the shape real scripts have:
// functions reading variables, looping over strings with the String
// library, comparing and branching, and one extern entry calling them.
QByteArray sampleScript(qsizetype bytes) {
  QByteArray s = "use url helper \"helper.wmls\";\n\n";
  int n = 0;
  while (s.size() < bytes && n < 250) {
    const QByteArray i = QByteArray::number(n);
    s += "function step" + i +
         "(text, limit) {\n"
         "  var count = 0;\n"
         "  var result = \"\";\n"
         "  for (var k = 0; k < String.length(text); k++) {\n"
         "    var c = String.charAt(text, k);\n"
         "    if (c == \" \" || c == \",\") {\n"
         "      count += " +
         i +
         ";\n"
         "      continue;\n"
         "    }\n"
         "    if (count > limit * 2 + " +
         i +
         ") break;\n"
         "    result = result + String.toString(Lang.abs(count - k)) + \"item" +
         i +
         "\";\n"
         "  }\n"
         "  while (count > 0 && isvalid result) {\n"
         "    count -= 3;\n"
         "    result = String.replace(result, \"x\", \"y" +
         i +
         "\");\n"
         "  }\n"
         "  WMLBrowser.setVar(\"v" +
         i +
         "\", result);\n"
         "  return count >= 0 ? result : Float.round(1.5 * count);\n"
         "}\n\n";
    ++n;
  }
  s += "extern function main(text) {\n  var total = \"\";\n";
  for (int k = 0; k < n; ++k)
    s += "  total += step" + QByteArray::number(k) + "(text, " + QByteArray::number(k % 7) + ");\n";
  s += "  helper#done(total);\n  return total;\n}\n";
  return s;
}

// Milliseconds of a child process run to its end; negative when it failed.
double runProcess(const QString& program, const QStringList& arguments, const QString& folder) {
  QProcess process;
  process.setWorkingDirectory(folder);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  bool ok = false;
  const double ms = bench::timeMs([&] {
    process.start(program, arguments);
    ok = process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
         process.exitCode() == 0;
  });
  return ok ? ms : -1;
}

} // namespace

BENCH_FIGURE(scriptCompile, 82) {
  const QString wmlsc = QStringLiteral(TESSERA_ORACLE_DIR "/wmlsc");
  if (!QFileInfo(wmlsc).isExecutable()) {
    std::printf("  scriptCompile skipped: wmlsc is not unpacked (scripts/oracles.sh)\n");
    return;
  }
  const QString folder = QDir(context.workDir).filePath(QStringLiteral("script"));
  QDir().mkpath(folder);
  const QString source = QDir(folder).filePath(QStringLiteral("sample.wmls"));
  QFile file(source);
  if (!file.open(QIODevice::WriteOnly) || file.write(sampleScript(100 * 1024)) < 0)
    return;
  file.close();
  const QString ours = QDir(folder).filePath(QStringLiteral("ours.wmlsc"));
  double oursMs = 0, referenceMs = 0;
  bool failed = false;
  bench::bestOfAlternating(
      5,
      [&] {
        failed = runProcess(QStringLiteral(TESSERA_PROGRAM),
                            {QStringLiteral("--compile"), source, QStringLiteral("-o"), ours},
                            folder) < 0 ||
                 failed;
      },
      [&] { failed = runProcess(wmlsc, {source}, folder) < 0 || failed; }, &oursMs, &referenceMs);
  if (failed) {
    std::printf("  scriptCompile: a compiler failed on the sample\n");
    context.add({QStringLiteral("tessera --compile a script vs wmlsc"), QStringLiteral("100 KB"), 1,
                 0, 1.0});
    return;
  }
  context.add({QStringLiteral("tessera --compile a script vs wmlsc"), QStringLiteral("100 KB"),
               oursMs, referenceMs, 1.0});
  const qint64 ourSize = QFileInfo(ours).size();
  const qint64 referenceSize =
      QFileInfo(QDir(folder).filePath(QStringLiteral("sample.wmlsc"))).size();
  context.add({QStringLiteral("compiled script size vs wmlsc's"), QStringLiteral("100 KB"),
               double(ourSize), double(referenceSize), 1.0, QStringLiteral("B")});
}

// The unit is compiled on every pause in typing; a key press must not pay
// for it (the compile runs on the deck service's worker).
BENCH_FIGURE(scriptTypingWithLiveCheck, 83) {
  const QString path = QDir(context.workDir).filePath(QStringLiteral("typing.wmls"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(sampleScript(100 * 1024)) < 0)
    return;
  file.close();
  constexpr int kInsertions = 40;
  const QString piece = QStringLiteral("var abcdefghijk = 1;"); // 20 characters
  bench::AppWindow app;
  app.load(path);
  double on = 0, off = 0;
  bench::typingWithAndWithoutLiveCheck(app, piece, kInsertions, &on, &off);
  context.add({QStringLiteral("20-character insertion at the end of a script, checking while "
                              "typing on vs off"),
               QStringLiteral("100 KB"), on, off, 1.2});
  app.clear();
}
