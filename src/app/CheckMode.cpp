#include "app/CheckMode.h"

#include "app/CommandLine.h"
#include "app/ScriptCommandLine.h"
#include "document/EncodingDetection.h"
#include "wml/check/DeckChecker.h"
#include "wml/script/ScriptCompiler.h"

#include <QFile>

namespace tessera {

int runCheckMode(const ModeContext& context) {
  const QStringList files = context.operands();
  if (files.isEmpty())
    return context.usageError(QStringLiteral("--check needs at least one file"));
  QTextStream& out = context.out;
  QTextStream& err = context.err;
  bool unreadable = false;
  bool errors = false;
  for (const QString& name : files) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
      err << "tessera: cannot read " << name << ": " << file.errorString() << '\n';
      unreadable = true;
      continue;
    }
    if (wml::script::isScriptFileName(name)) {
      errors = checkScriptFile(name, file.readAll(), out) || errors;
      out.flush();
      continue;
    }
    // Decoded as the editor opens it; the checker counts lines by LF.
    QString text = decodeFile(file.readAll()).text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QList<wml::Finding> findings = wml::check::checkDeck(text, {name});
    for (const wml::Finding& finding : findings)
      out << name << ':' << finding.line << ':' << finding.column << ": "
          << wml::severityName(finding.severity) << ": " << finding.message
          << (finding.rule.isEmpty() ? QString() : QStringLiteral(" [%1]").arg(finding.rule))
          << '\n';
    errors = errors || wml::hasError(findings);
    out.flush();
  }
  return unreadable ? kExitUsage : errors ? kExitFindings : kExitClean;
}

} // namespace tessera
