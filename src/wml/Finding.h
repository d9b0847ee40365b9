#pragma once

#include "wml/Positions.h"

#include <QList>
#include <QString>

namespace tessera::wml {

// A note is information only (it never makes a check fail).
enum class Severity { Note, Warning, Error };

// One thing a checker found in a file, from where it starts (a text line,
// 1-based as in the file, and a character column within it, 1-based; a
// character outside the Basic Multilingual Plane counts one) up to an end
// that is just past the stretch found. An end of {0, 0} means the finder
// knows only where it starts.
struct Finding {
  LineColumn start{};
  Severity severity = Severity::Error;
  QString message;
  // A short name of the rule that found it ("bad-variable"), printed by the
  // command line in brackets and read by code-scanning services.
  QString rule;
  LineColumn end{};
  bool operator==(const Finding&) const = default;

  bool hasEnd() const { return end.known(); }
};

// "error", "warning" or "note", as compilers print them.
QString severityName(Severity severity);

// Orders findings by where they start (line, then column), keeping the
// order of equals.
void sortByPosition(QList<Finding>& findings);

// Whether any finding is an error.
bool hasError(const QList<Finding>& findings);

// The first error as "LINE:COLUMN: message" (what a one-line report of
// why something did not compile says); empty when there is none.
QString firstErrorText(const QList<Finding>& findings);

} // namespace tessera::wml
