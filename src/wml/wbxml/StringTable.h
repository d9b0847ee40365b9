#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessera::wml::wbxml {

// The deck's string table and how each string is written with it. A string
// may be cut after any run of blanks, so a word travels with the blank that
// follows it ("menu "), and after an address's punctuation ("#", "/", "?",
// "=", "&"); a word or a whole string used often enough goes into
// the table once, and each string is then written as the shortest mix of
// inline runs (STR_I: the bytes and a terminator) and table references
// (STR_T: an offset). Words that repeat across a deck's cards are what
// phones' gateways save the most on.
class StringTable {
public:
  struct Part {
    bool fromTable = false;
    std::string_view text; // an inline run
    std::uint32_t offset = 0;
  };

  // `strings`: every character string the deck writes, `names`: every
  // variable name (written whole), `literals`: names without a token, which
  // must be in the table. With `enabled` false only the literals go in.
  StringTable(const std::vector<std::string_view>& strings,
              const std::vector<std::string_view>& names,
              const std::vector<std::string_view>& literals, bool enabled);

  const std::string& bytes() const { return table_; }
  // The offset of a name or literal stored whole; -1 when it is written inline.
  std::int64_t offsetOf(std::string_view whole) const;
  // The string as inline runs and references, in order.
  std::vector<Part> write(std::string_view text) const;

private:
  struct Entry {
    std::uint32_t offset = 0;
    // References the last counting layout made, and the bytes they saved.
    mutable std::size_t uses = 0;
    mutable std::size_t saved = 0;
  };
  std::vector<Part> layout(std::string_view text, bool count) const;
  void placeEntries(const std::vector<std::string_view>& order);

  std::string table_;
  std::unordered_map<std::string_view, Entry> entries_;
};

// The bytes of a multi-byte integer.
std::size_t multiByteSize(std::uint32_t value);

} // namespace tessera::wml::wbxml
