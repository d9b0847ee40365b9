#include "wml/Finding.h"

#include <algorithm>

namespace tessera::wml {

QString severityName(Severity severity) {
  switch (severity) {
  case Severity::Error: return QStringLiteral("error");
  case Severity::Warning: return QStringLiteral("warning");
  case Severity::Note: break;
  }
  return QStringLiteral("note");
}

void sortByPosition(QList<Finding>& findings) {
  std::stable_sort(findings.begin(), findings.end(),
                   [](const Finding& a, const Finding& b) { return a.start < b.start; });
}

bool hasError(const QList<Finding>& findings) {
  return std::any_of(findings.cbegin(), findings.cend(),
                     [](const Finding& f) { return f.severity == Severity::Error; });
}

QString firstErrorText(const QList<Finding>& findings) {
  for (const Finding& finding : findings)
    if (finding.severity == Severity::Error)
      return QStringLiteral("%1:%2: %3")
          .arg(finding.start.line)
          .arg(finding.start.column)
          .arg(finding.message);
  return {};
}

} // namespace tessera::wml
