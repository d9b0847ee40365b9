#include "wml/script/ScriptColouring.h"

#include "wml/script/LibraryTable.h"
#include "wml/script/ScriptTokens.h"

namespace tessera::wml::script {

namespace {

bool isNameStart(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}
bool isNamePart(QChar c) { return isNameStart(c) || (c >= u'0' && c <= u'9'); }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The next character that is not a space, or a null character.
QChar nextNonSpace(QStringView line, qsizetype from) {
  while (from < line.size() && (line[from] == u' ' || line[from] == u'\t'))
    ++from;
  return from < line.size() ? line[from] : QChar();
}

} // namespace

ScriptLineState scanScriptLine(QStringView line, ScriptLineState state, QList<ScriptSpan>* spans) {
  const auto add = [&](qsizetype start, qsizetype end, ScriptKind kind) {
    if (spans && end > start)
      spans->append({int(start), int(end - start), kind});
  };
  qsizetype i = 0;
  const qsizetype n = line.size();
  if (state == ScriptLineState::Comment) {
    const qsizetype close = line.indexOf(u"*/");
    if (close < 0) {
      add(0, n, ScriptKind::Comment);
      return ScriptLineState::Comment;
    }
    add(0, close + 2, ScriptKind::Comment);
    i = close + 2;
  }
  bool afterDot = false;
  while (i < n) {
    const QChar c = line[i];
    if (c == u'/' && i + 1 < n && line[i + 1] == u'/') {
      add(i, n, ScriptKind::Comment);
      return ScriptLineState::Code;
    }
    if (c == u'/' && i + 1 < n && line[i + 1] == u'*') {
      const qsizetype close = line.indexOf(u"*/", i + 2);
      if (close < 0) {
        add(i, n, ScriptKind::Comment);
        return ScriptLineState::Comment;
      }
      add(i, close + 2, ScriptKind::Comment);
      i = close + 2;
      continue;
    }
    if (c == u'"' || c == u'\'') {
      qsizetype j = i + 1;
      while (j < n && line[j] != c)
        j += line[j] == u'\\' ? 2 : 1;
      j = std::min(j + 1, n);
      add(i, j, ScriptKind::String);
      i = j;
      afterDot = false;
      continue;
    }
    if (isDigit(c) || (c == u'.' && i + 1 < n && isDigit(line[i + 1]))) {
      const bool hex = c == u'0' && i + 1 < n && (line[i + 1] == u'x' || line[i + 1] == u'X');
      qsizetype j = i + 1;
      while (j < n) {
        const bool sign = (line[j] == u'+' || line[j] == u'-') && !hex &&
                          (line[j - 1] == u'e' || line[j - 1] == u'E');
        if (!isNamePart(line[j]) && line[j] != u'.' && !sign)
          break;
        ++j;
      }
      add(i, j, ScriptKind::Number);
      i = j;
      afterDot = false;
      continue;
    }
    if (isNameStart(c)) {
      qsizetype j = i + 1;
      while (j < n && isNamePart(line[j]))
        ++j;
      const QStringView word = line.mid(i, j - i);
      const QChar next = nextNonSpace(line, j);
      if (afterDot)
        add(i, j, ScriptKind::Library);
      else if (isReservedWord(word))
        add(i, j, ScriptKind::Keyword);
      else if (next == u'.' && isLibraryName(word))
        add(i, j, ScriptKind::Library);
      else if (next == u'(')
        add(i, j, ScriptKind::Function);
      afterDot = false;
      i = j;
      continue;
    }
    afterDot = c == u'.' && i > 0 && isNamePart(line[i - 1]) && !isDigit(line[i - 1]);
    if (c == u'.' && afterDot) {
      // Only after a library name: the word before was coloured as one.
      afterDot = spans && !spans->isEmpty() && spans->last().kind == ScriptKind::Library &&
                 spans->last().start + spans->last().length == int(i);
    }
    ++i;
  }
  return ScriptLineState::Code;
}

} // namespace tessera::wml::script
