#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Splits WML text into literal pieces and variable references ($name,
// $(name), $(name:conversion)); "$$" stands for one "$".
namespace tessera::wml::wbxml {

enum class Escaping : std::uint8_t { Escaped, Unescaped, None };

struct TextPiece {
  bool isVariable = false;
  std::string text;                   // the literal text, or the variable's name
  Escaping escaping = Escaping::None; // for a variable
};

// References are read as the checker reads them; the compiler refuses a
// deck with a malformed one before it splits anything, so such a stretch is
// only kept as literal text here.
std::vector<TextPiece> splitVariables(std::string_view text);

} // namespace tessera::wml::wbxml
