#pragma once

#include <QByteArrayView>
#include <QString>

namespace tessera::wml {

// A variable reference starting at `text[0]` (a "$"): "$$", "$name",
// "$(name)" or "$(name:conversion)" with conversion escape, noesc, unesc or
// their first letters. `length` is how many bytes it takes; `problem` is
// empty when it is sound.
struct VariableScan {
  qsizetype length = 1;
  QString problem;
};
VariableScan scanVariableReference(QByteArrayView text);

// Why an input element's format mask is not valid, or empty when it is:
// the codes A a N n X x M m, "\c" for a literal character, and "*f" or "nf"
// (n from 1 to 9) only once, at the very end.
QString formatMaskProblem(const QString& mask);

} // namespace tessera::wml
