#pragma once

#include "wml/WmlVersion.h"

#include <cstdint>
#include <optional>
#include <string_view>

// The WBXML global tokens and the WML code page 0 tables: tags, attribute
// starts (a name, sometimes with the start of its value) and attribute
// values. Facts from the WBXML 1.1-1.3 and WML 1.1-1.3 token tables.
namespace tessera::wml::wbxml {

namespace token {
constexpr std::uint8_t SwitchPage = 0x00;
constexpr std::uint8_t End = 0x01;
constexpr std::uint8_t Entity = 0x02;
constexpr std::uint8_t StrI = 0x03;
constexpr std::uint8_t Literal = 0x04;
constexpr std::uint8_t ExtI0 = 0x40; // variable, escaped
constexpr std::uint8_t ExtI1 = 0x41; // variable, unescaped
constexpr std::uint8_t ExtI2 = 0x42; // variable, no escaping
constexpr std::uint8_t Pi = 0x43;
constexpr std::uint8_t LiteralC = 0x44;
constexpr std::uint8_t ExtT0 = 0x80;
constexpr std::uint8_t ExtT1 = 0x81;
constexpr std::uint8_t ExtT2 = 0x82;
constexpr std::uint8_t StrT = 0x83;
constexpr std::uint8_t LiteralA = 0x84;
constexpr std::uint8_t Ext0 = 0xC0;
constexpr std::uint8_t Ext1 = 0xC1;
constexpr std::uint8_t Ext2 = 0xC2;
constexpr std::uint8_t Opaque = 0xC3;
constexpr std::uint8_t LiteralAc = 0xC4;
// Bits added to a tag token.
constexpr std::uint8_t HasAttributes = 0x80;
constexpr std::uint8_t HasContent = 0x40;
} // namespace token

constexpr std::uint32_t kCharsetUtf8 = 106;
constexpr std::uint32_t kCharsetLatin1 = 4;
constexpr std::uint32_t kCharsetUsAscii = 3;

using WmlVersion = wml::WmlVersion;

struct AttributeStart {
  std::string_view name;
  std::string_view valuePrefix; // empty: the name alone
  std::uint8_t code;
};

// The tag token of an element a deck of `version` may use, if it has one.
std::optional<std::uint8_t> tagToken(std::string_view name, WmlVersion version);
// The element a tag token (without its two flag bits) stands for; tokens of
// every version are read.
std::optional<std::string_view> tagName(std::uint8_t code);

// The attribute start with the longest value prefix that `value` begins with.
std::optional<AttributeStart> attributeStart(std::string_view name, std::string_view value,
                                             WmlVersion version);
std::optional<AttributeStart> attributeStartOf(std::uint8_t code);

// The attribute value token that `text` begins with at `pos`: a URL piece
// anywhere, a word ("accept", "wrap", ...) only when it is the whole of
// `text`, so that no word is cut out of a longer one.
struct ValueMatch {
  std::uint8_t code;
  std::size_t length;
};
std::optional<ValueMatch> attributeValueAt(std::string_view text, std::size_t pos);
std::optional<std::string_view> attributeValueOf(std::uint8_t code);

// Elements whose content is elements only: white space in them is not text
// a phone shows (XML's ignorable white space).
bool holdsElementsOnly(std::string_view element);

} // namespace tessera::wml::wbxml
