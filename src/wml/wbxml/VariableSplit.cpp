#include "wml/wbxml/VariableSplit.h"

#include "wml/syntax/VariableReference.h"

namespace tessera::wml::wbxml {
namespace {

Escaping escapingOf(syntax::Conversion conversion) {
  switch (conversion) {
  case syntax::Conversion::Escape: return Escaping::Escaped;
  case syntax::Conversion::Unescape: return Escaping::Unescaped;
  case syntax::Conversion::None: return Escaping::None;
  case syntax::Conversion::Default: break;
  }
  return Escaping::None;
}

void appendLiteral(std::vector<TextPiece>& pieces, std::string_view text) {
  if (text.empty())
    return;
  if (pieces.empty() || pieces.back().isVariable)
    pieces.push_back(TextPiece{});
  pieces.back().text.append(text);
}

} // namespace

std::vector<TextPiece> splitVariables(std::string_view text) {
  std::vector<TextPiece> pieces;
  std::size_t literalStart = 0;
  std::size_t pos = 0;
  while ((pos = text.find('$', pos)) != std::string_view::npos) {
    appendLiteral(pieces, text.substr(literalStart, pos - literalStart));
    const syntax::VariableReference reference = syntax::scanVariableReference(text.substr(pos));
    if (reference.kind == syntax::VariableReference::Kind::Variable)
      pieces.push_back(TextPiece{true,
                                 std::string(text.substr(pos + std::size_t(reference.nameStart),
                                                         std::size_t(reference.nameLength))),
                                 escapingOf(reference.conversion)});
    else
      appendLiteral(pieces, reference.kind == syntax::VariableReference::Kind::Dollar
                                ? std::string_view("$")
                                : text.substr(pos, std::size_t(reference.length)));
    pos = literalStart = pos + std::size_t(reference.length);
  }
  appendLiteral(pieces, text.substr(literalStart));
  return pieces;
}

} // namespace tessera::wml::wbxml
