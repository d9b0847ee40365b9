#pragma once

#include <QString>
#include <QStringView>

#include <string_view>

namespace tessera::wml::syntax {

// How a variable's value is converted as it is put in: by its context (URL
// escaped in an address, as it is elsewhere), or as the reference says.
enum class Conversion { Default, Escape, Unescape, None };

// One "$" in WML text and what follows it, read by the only scanner of
// variable references there is: "$$" (a dollar sign), "$name", "$(name)",
// "$(name:conversion)" with escape, noesc or unesc, in any case or
// abbreviated to their first letter. Anything else is malformed: a WML
// encoder must refuse it, a checker reports it, a user agent shows an error.
struct VariableReference {
  enum class Kind { Dollar, Variable, Malformed };
  Kind kind = Kind::Malformed;
  qsizetype length = 1;    // characters taken, from the "$" on
  qsizetype nameStart = 0; // the name, from the "$"
  qsizetype nameLength = 0;
  Conversion conversion = Conversion::Default;
  QString problem; // why it is malformed, as a clause ("a lone ...")

  bool malformed() const { return kind == Kind::Malformed; }
};

// The reference at text[0], which must be a "$". The same reading for the
// parsed tree's UTF-8, the compiler's byte strings and the editor's lines.
VariableReference scanVariableReference(std::string_view text);
VariableReference scanVariableReference(QStringView text);

// A WML variable name: an ASCII letter or "_", then letters, digits, "_".
bool isVariableName(QStringView name);
bool isVariableName(std::string_view name);

} // namespace tessera::wml::syntax
