#include "wml/wbxml/StringTable.h"

#include <algorithm>
#include <limits>

namespace tessera::wml::wbxml {

namespace {

// A word ends at a blank, and a piece of an address at its punctuation
// ("#menu", "shop/", "?id=", "&x=").
bool endsPiece(char c) {
  return c == ' ' || c == '#' || c == '/' || c == '?' || c == '=' || c == '&';
}

// Where a string may be cut: after each run of separators, and at its end.
std::vector<std::size_t> cuts(std::string_view text) {
  std::vector<std::size_t> ends;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && !endsPiece(text[i]))
      ++i;
    while (i < text.size() && endsPiece(text[i]))
      ++i;
    ends.push_back(i);
  }
  return ends;
}

// What a reference of `offsetSize` bytes saves against writing the text
// inline: inside a neighbouring run only its bytes, on its own also the
// run's token and terminator.
std::size_t saving(std::size_t length, std::size_t offsetSize, bool alone) {
  const std::size_t inlineCost = alone ? length + 2 : length;
  return inlineCost > 1 + offsetSize ? inlineCost - 1 - offsetSize : 0;
}

} // namespace

std::size_t multiByteSize(std::uint32_t value) {
  std::size_t size = 1;
  while (value >>= 7)
    ++size;
  return size;
}

StringTable::StringTable(const std::vector<std::string_view>& strings,
                         const std::vector<std::string_view>& names,
                         const std::vector<std::string_view>& literals, bool enabled) {
  std::vector<std::string_view> order; // first use first: the same deck, the same bytes
  if (enabled) {
    std::unordered_map<std::string_view, std::size_t> counts;
    const auto count = [&](std::string_view candidate) {
      if (++counts[candidate] == 1)
        order.push_back(candidate);
    };
    for (std::string_view text : strings) {
      std::size_t from = 0;
      const std::vector<std::size_t> ends = cuts(text);
      for (std::size_t end : ends) {
        count(text.substr(from, end - from));
        from = end;
      }
      if (ends.size() > 1)
        count(text);
    }
    for (std::string_view name : names)
      count(name);
    // A single use never pays for the table's copy.
    std::erase_if(order, [&](std::string_view c) { return counts[c] < 2 || c.size() < 2; });
    // Lay out, see which entries the strings really use, drop those that do
    // not pay for their copy, and again until none is dropped.
    for (int round = 0; round < 4; ++round) {
      placeEntries(order);
      for (std::string_view text : strings)
        layout(text, true);
      // A variable's name inline is the name and a terminator.
      for (std::string_view name : names)
        if (auto it = entries_.find(name); it != entries_.end()) {
          ++it->second.uses;
          it->second.saved += saving(name.size() + 1, multiByteSize(it->second.offset), false);
        }
      const std::size_t before = order.size();
      std::erase_if(order,
                    [&](std::string_view c) { return entries_.at(c).saved <= c.size() + 1; });
      // The most used first, where offsets take one byte.
      std::stable_sort(order.begin(), order.end(), [&](std::string_view a, std::string_view b) {
        return entries_.at(a).uses > entries_.at(b).uses;
      });
      if (order.size() == before && round > 0)
        break;
    }
  }
  for (std::string_view literal : literals)
    if (std::find(order.begin(), order.end(), literal) == order.end())
      order.push_back(literal);
  placeEntries(order);
}

void StringTable::placeEntries(const std::vector<std::string_view>& order) {
  entries_.clear();
  table_.clear();
  for (std::string_view text : order) {
    entries_.emplace(text, Entry{std::uint32_t(table_.size()), 0});
    table_ += text;
    table_ += '\0';
  }
}

std::int64_t StringTable::offsetOf(std::string_view whole) const {
  const auto it = entries_.find(whole);
  return it == entries_.end() ? -1 : std::int64_t(it->second.offset);
}

std::vector<StringTable::Part> StringTable::write(std::string_view text) const {
  return layout(text, false);
}

// The cheapest way to write `text`, by dynamic programming over its cuts:
// best[j] is the fewest bytes that write the text up to cut j, each step an
// inline run from any earlier cut (its bytes and two more) or a reference to
// the piece between two neighbouring cuts, or to the whole text.
std::vector<StringTable::Part> StringTable::layout(std::string_view text, bool count) const {
  std::vector<std::size_t> ends = cuts(text);
  ends.insert(ends.begin(), 0);
  const std::size_t n = ends.size();
  constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
  std::vector<std::size_t> best(n, kNone), from(n, 0);
  std::vector<const Entry*> via(n, nullptr);
  best[0] = 0;
  // The cut an inline run ending here best starts from: the least best[i] - ends[i].
  std::size_t runFrom = 0;
  std::int64_t runValue = 0;
  const auto reference = [this](std::string_view piece) -> const Entry* {
    const auto it = entries_.find(piece);
    return it == entries_.end() ? nullptr : &it->second;
  };
  for (std::size_t j = 1; j < n; ++j) {
    best[j] = std::size_t(runValue + std::int64_t(ends[j]) + 2);
    from[j] = runFrom;
    const auto consider = [&](std::size_t i) {
      if (const Entry* entry = reference(text.substr(ends[i], ends[j] - ends[i]))) {
        const std::size_t cost = best[i] + 1 + multiByteSize(entry->offset);
        if (cost < best[j]) {
          best[j] = cost;
          from[j] = i;
          via[j] = entry;
        }
      }
    };
    consider(j - 1);
    if (j == n - 1 && j > 1)
      consider(0);
    if (std::int64_t(best[j]) - std::int64_t(ends[j]) < runValue) {
      runValue = std::int64_t(best[j]) - std::int64_t(ends[j]);
      runFrom = j;
    }
  }
  std::vector<Part> parts;
  for (std::size_t j = n - 1; j > 0; j = from[j]) {
    Part part;
    if (via[j]) {
      part.fromTable = true;
      part.offset = via[j]->offset;
      if (count) {
        ++via[j]->uses;
        via[j]->saved +=
            saving(ends[j] - ends[from[j]], multiByteSize(part.offset), from[j] == 0 && j == n - 1);
      }
    } else {
      part.text = text.substr(ends[from[j]], ends[j] - ends[from[j]]);
    }
    parts.push_back(part);
  }
  std::reverse(parts.begin(), parts.end());
  return parts;
}

} // namespace tessera::wml::wbxml
