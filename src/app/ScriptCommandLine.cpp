#include "app/ScriptCommandLine.h"

#include "app/CommandLine.h"
#include "app/ModeFiles.h"
#include "document/EncodingDetection.h"
#include "document/FileReading.h"
#include "wml/script/ScriptCompiler.h"

namespace tessera {

namespace {

// A script larger than this is not one for a phone (the bytecode's counts
// would overflow long before).
constexpr qint64 kScriptLimit = 64 * 1024 * 1024;

void printFindings(const QString& name, const QList<wml::Finding>& findings, QTextStream& to) {
  for (const wml::Finding& finding : findings)
    to << name << ':' << finding.start.line << ':' << finding.start.column << ": "
       << wml::severityName(finding.severity) << ": " << finding.message << " [" << finding.rule
       << "]\n";
}

} // namespace

bool checkScriptFile(const QString& name, const QByteArray& bytes, QTextStream& out) {
  const wml::script::ScriptCompileResult result =
      wml::script::compileScript(decodeSourceText(bytes));
  printFindings(name, result.findings, out);
  return wml::hasError(result.findings);
}

int compileScriptFile(const QString& input, const QString& output, QTextStream& out,
                      QTextStream& err) {
  const FileReadResult read = readAtMost(input, kScriptLimit);
  if (read.status != FileReadResult::Read) {
    err << input << ": cannot read: "
        << (read.status == FileReadResult::TooLarge ? QStringLiteral("too large") : read.reason)
        << '\n';
    return kExitUsage;
  }
  const wml::script::ScriptCompileResult result =
      wml::script::compileScript(decodeSourceText(read.bytes));
  printFindings(input, result.findings, err);
  if (!result.ok())
    return kExitFindings;
  if (!writeModeOutput(output, result.bytecode, err))
    return kExitUsage;
  out << output << ": " << result.bytecode.size() << " bytes\n";
  return kExitClean;
}

} // namespace tessera
