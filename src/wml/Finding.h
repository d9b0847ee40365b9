#pragma once

#include <QList>
#include <QString>

namespace tessera::wml {

enum class Severity { Warning, Error };

// One thing the checker found in a deck, at a text line (1-based, as in the
// file) and a character column within it (1-based; a character outside the
// Basic Multilingual Plane counts one).
struct Finding {
  int line = 0;
  int column = 0;
  Severity severity = Severity::Error;
  QString message;
  bool operator==(const Finding&) const = default;
};

// "error" or "warning", as compilers print them.
QString severityName(Severity severity);

// Orders findings by line, then column, keeping the order of equals.
void sortByPosition(QList<Finding>& findings);

// Whether any finding is an error.
bool hasError(const QList<Finding>& findings);

} // namespace tessera::wml
