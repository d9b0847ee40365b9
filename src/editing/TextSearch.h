#pragma once

#include <QList>
#include <QString>

// Plain-text search and replacement over the editor's whole text (line
// breaks as CR LF). Exact, case-sensitive comparison; everything is one
// forward pass with QString::indexOf, so the cost is linear in the text.
namespace tessera {

// First occurrence of `needle` at or after `from`, or -1. An empty needle
// never matches: there is nothing to look for.
int findForward(const QString& text, const QString& needle, int from);

// Where Replace acts: the first occurrence at or after `caret`, else the
// first one in the text (one wrap to the top); -1 when there is none.
int findForReplace(const QString& text, const QString& needle, int caret);

// Every occurrence, left to right, none overlapping the one before: the
// places Replace All changes, so replacement text is never searched again.
QList<int> allOccurrences(const QString& text, const QString& needle);

// ASCII-only case conversion: only 'a'..'z' / 'A'..'Z' change.
QString asciiUpper(QString text);
QString asciiLower(QString text);

} // namespace tessera
