#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Splits WML text into literal pieces and variable references ($name,
// $(name), $(name:conversion)); "$$" stands for one "$".
namespace tessera::wbxml {

enum class Escaping : std::uint8_t { Escaped, Unescaped, None };

struct TextPiece {
  bool isVariable = false;
  std::string text;                   // the literal text, or the variable's name
  Escaping escaping = Escaping::None; // for a variable
};

// A "$" that starts no well-formed reference stays a literal "$" (the
// checker reports it; the compiled deck keeps what the author wrote).
std::vector<TextPiece> splitVariables(std::string_view text);

bool isVariableName(std::string_view name);

} // namespace tessera::wbxml
