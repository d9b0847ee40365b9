#pragma once

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

// Replace All as one edit: the stretch from the first occurrence to the end
// of the last one, and what it becomes. Occurrences are taken left to
// right without overlapping, and replacement text is never searched again.
struct ReplaceAllEdit {
  int start = -1;  // position of the first occurrence; -1: none
  int length = 0;  // up to the end of the last occurrence
  QString replacement;
  int count = 0;
  bool operator==(const ReplaceAllEdit&) const = default;
};
ReplaceAllEdit replaceAllEdit(const QString& text, const QString& needle,
                              const QString& replacement);

// ASCII-only case conversion: only 'a'..'z' / 'A'..'Z' change.
QString asciiUpper(QString text);
QString asciiLower(QString text);

} // namespace tessera
