#pragma once

#include "wml/Finding.h"

#include <QByteArray>
#include <QList>

namespace tessera::wml {

class LineIndex;

// The malformed variable references of a well-formed deck's UTF-8 text,
// each a finding placed at its "$" and reaching past what it took: in
// character data and attribute values, not in comments, processing
// instructions or the DOCTYPE. Found in the text itself, not the tree,
// because the tree has lost where each one stood. The parse runs it once
// (ParsedDeck::variableFindings()); the checker, the compiler and the
// preview read what it found.
QList<Finding> findMalformedVariables(const QByteArray& utf8, const LineIndex& lines);

// How many texts this process has scanned so far (any thread), so a test
// can hold the editor to one scan per revision.
quint64 variableScansSoFar();

} // namespace tessera::wml
