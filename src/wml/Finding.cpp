#include "wml/Finding.h"

#include <algorithm>

namespace tessera::wml {

QString severityName(Severity severity) {
  return severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

void sortByPosition(QList<Finding>& findings) {
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return a.line != b.line ? a.line < b.line : a.column < b.column;
  });
}

bool hasError(const QList<Finding>& findings) {
  return std::any_of(findings.cbegin(), findings.cend(),
                     [](const Finding& f) { return f.severity == Severity::Error; });
}

} // namespace tessera::wml
