#pragma once

#include <QList>
#include <QStringView>

namespace tessera::wml::script {

// What a stretch of WMLScript source is, for colouring. Other text (names
// of variables, punctuation) has no kind.
enum class ScriptKind : unsigned char {
  Keyword,  // function, var, if, ... and the literals true, false, invalid
  String,   // "..." or '...' with its quotes
  Number,   // 12, 0x1F, 1.5e3
  Comment,  // // ... and /* ... */
  Library,  // Lang, String, ... before a "." and the function after it
  Function, // the name of a declared or called function
};

struct ScriptSpan {
  int start = 0;
  int length = 0;
  ScriptKind kind = ScriptKind::Keyword;
  bool operator==(const ScriptSpan&) const = default;
};

// Where a line ends up: only a block comment goes on over lines (a string
// cannot). Small numbers, to fit the text engine's per-line state.
enum class ScriptLineState : int { Code = 0, Comment = 1 };

// Scans one line (without its break) starting in `state`; returns the state
// it ends in and, when `spans` is given, appends the coloured stretches in
// order, without overlaps. Linear in the line's length.
ScriptLineState scanScriptLine(QStringView line, ScriptLineState state, QList<ScriptSpan>* spans);

} // namespace tessera::wml::script
