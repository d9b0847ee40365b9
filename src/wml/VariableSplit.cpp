#include "wml/VariableSplit.h"

#include <algorithm>
#include <cctype>

namespace tessera::wbxml {
namespace {

bool nameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool nameChar(char c) { return nameStart(c) || std::isdigit(static_cast<unsigned char>(c)); }

std::string lower(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return result;
}

bool conversionOf(std::string_view name, Escaping& escaping) {
  const std::string word = lower(name);
  if (word == "e" || word == "escape")
    escaping = Escaping::Escaped;
  else if (word == "u" || word == "unesc")
    escaping = Escaping::Unescaped;
  else if (word == "n" || word == "noesc")
    escaping = Escaping::None;
  else
    return false;
  return true;
}

void appendLiteral(std::vector<TextPiece>& pieces, std::string_view text) {
  if (text.empty())
    return;
  if (pieces.empty() || pieces.back().isVariable)
    pieces.push_back(TextPiece{});
  pieces.back().text.append(text);
}

} // namespace

bool isVariableName(std::string_view name) {
  return !name.empty() && nameStart(name.front()) &&
         std::all_of(name.begin(), name.end(), nameChar);
}

std::vector<TextPiece> splitVariables(std::string_view text) {
  std::vector<TextPiece> pieces;
  std::size_t literalStart = 0;
  std::size_t pos = 0;
  while ((pos = text.find('$', pos)) != std::string_view::npos) {
    appendLiteral(pieces, text.substr(literalStart, pos - literalStart));
    std::size_t next = pos + 1;
    TextPiece variable{true, {}, Escaping::None};
    bool found = false;
    if (next < text.size() && text[next] == '$') {
      appendLiteral(pieces, "$");
      next += 1;
    } else if (next < text.size() && text[next] == '(') {
      const std::size_t close = text.find(')', next);
      if (close != std::string_view::npos) {
        const std::string_view inside = text.substr(next + 1, close - next - 1);
        const std::size_t colon = inside.find(':');
        const std::string_view name = inside.substr(0, colon);
        found = isVariableName(name) && (colon == std::string_view::npos ||
                                         conversionOf(inside.substr(colon + 1), variable.escaping));
        if (found) {
          variable.text = std::string(name);
          next = close + 1;
        }
      }
      if (!found)
        appendLiteral(pieces, "$");
    } else if (next < text.size() && nameStart(text[next])) {
      std::size_t end = next;
      while (end < text.size() && nameChar(text[end]))
        ++end;
      variable.text = std::string(text.substr(next, end - next));
      found = true;
      next = end;
    } else {
      appendLiteral(pieces, "$");
    }
    if (found)
      pieces.push_back(std::move(variable));
    pos = literalStart = next;
  }
  appendLiteral(pieces, text.substr(literalStart));
  return pieces;
}

} // namespace tessera::wbxml
