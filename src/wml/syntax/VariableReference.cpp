#include "wml/syntax/VariableReference.h"

namespace tessera::wml::syntax {

namespace {

template <typename Char> bool isNameStart(Char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
template <typename Char> bool isNameChar(Char c) {
  return isNameStart(c) || (c >= '0' && c <= '9');
}

template <typename Char>
bool equalsIgnoringCase(const Char* text, qsizetype size, const char* word) {
  qsizetype i = 0;
  for (; i < size && word[i]; ++i) {
    Char c = text[i];
    if (c >= 'A' && c <= 'Z')
      c = Char(c - 'A' + 'a');
    if (c != Char(word[i]))
      return false;
  }
  return i == size && !word[i];
}

template <typename Char> bool conversionNamed(const Char* text, qsizetype size, Conversion& out) {
  static constexpr struct {
    const char* word;
    Conversion conversion;
  } kConversions[] = {{"escape", Conversion::Escape},  {"e", Conversion::Escape},
                      {"noesc", Conversion::None},     {"n", Conversion::None},
                      {"unesc", Conversion::Unescape}, {"u", Conversion::Unescape}};
  for (const auto& known : kConversions)
    if (equalsIgnoringCase(text, size, known.word)) {
      out = known.conversion;
      return true;
    }
  return false;
}

template <typename Char> VariableReference scan(const Char* text, qsizetype size) {
  VariableReference found;
  const auto malformed = [&found](qsizetype length, const char* problem) {
    found.kind = VariableReference::Kind::Malformed;
    found.length = length;
    found.problem = QString::fromLatin1(problem);
    return found;
  };
  if (size >= 2 && text[1] == '$') {
    found.kind = VariableReference::Kind::Dollar;
    found.length = 2;
    return found;
  }
  if (size >= 2 && isNameStart(text[1])) {
    qsizetype end = 2;
    while (end < size && isNameChar(text[end]))
      ++end;
    found.kind = VariableReference::Kind::Variable;
    found.length = end;
    found.nameStart = 1;
    found.nameLength = end - 1;
    return found;
  }
  if (size < 2 || text[1] != '(')
    return malformed(1, "a lone \"$\" must be written \"$$\"");
  qsizetype end = 2;
  if (end >= size || !isNameStart(text[end]))
    return malformed(2, "\"$(\" must be followed by a variable name");
  while (end < size && isNameChar(text[end]))
    ++end;
  found.nameStart = 2;
  found.nameLength = end - 2;
  if (end < size && text[end] == ':') {
    const qsizetype start = ++end;
    while (end < size && text[end] != ')' && isNameChar(text[end]))
      ++end;
    if (!conversionNamed(text + start, end - start, found.conversion))
      return malformed(end, "the conversion after \":\" must be escape, noesc or unesc (or e, n, "
                            "u)");
  }
  if (end >= size || text[end] != ')')
    return malformed(end, "the variable reference lacks its closing \")\"");
  found.kind = VariableReference::Kind::Variable;
  found.length = end + 1;
  return found;
}

template <typename Char> bool isName(const Char* text, qsizetype size) {
  if (size == 0 || !isNameStart(text[0]))
    return false;
  for (qsizetype i = 1; i < size; ++i)
    if (!isNameChar(text[i]))
      return false;
  return true;
}

} // namespace

VariableReference scanVariableReference(std::string_view text) {
  return scan(text.data(), qsizetype(text.size()));
}

VariableReference scanVariableReference(QStringView text) {
  return scan(text.utf16(), text.size());
}

bool isVariableName(QStringView name) { return isName(name.utf16(), name.size()); }

bool isVariableName(std::string_view name) { return isName(name.data(), qsizetype(name.size())); }

} // namespace tessera::wml::syntax
