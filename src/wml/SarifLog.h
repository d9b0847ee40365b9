#pragma once

// Findings as a SARIF 2.1.0 log, the format code-scanning services read:
// one run, the tool's rules by the names the findings carry, each result
// with its rule, level, message and place (file and region).

#include "wml/Finding.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tessera::wml {

struct PlacedFinding {
  QString file; // as the user named it; a finding of line 0 is about the file (or folder) itself
  Finding finding;
};

struct SarifTool {
  QString name;
  QString version;
  QString informationUri;
};

// SARIF's name for a severity: "error", "warning" or "note".
QString sarifLevel(Severity severity);

QByteArray sarifLog(const QList<PlacedFinding>& findings, const SarifTool& tool);

} // namespace tessera::wml
