#include "wml/wbxml/WmlTokens.h"

#include <array>

namespace tessera::wml::wbxml {
namespace {

using V = WmlVersion;

struct Tag {
  std::string_view name;
  std::uint8_t code;
  V since;
};

const Tag kTags[] = {
    {"pre", 0x1B, V::Wml12},       {"a", 0x1C, V::Wml11},        {"td", 0x1D, V::Wml11},
    {"tr", 0x1E, V::Wml11},        {"table", 0x1F, V::Wml11},    {"p", 0x20, V::Wml11},
    {"postfield", 0x21, V::Wml11}, {"anchor", 0x22, V::Wml11},   {"access", 0x23, V::Wml11},
    {"b", 0x24, V::Wml11},         {"big", 0x25, V::Wml11},      {"br", 0x26, V::Wml11},
    {"card", 0x27, V::Wml11},      {"do", 0x28, V::Wml11},       {"em", 0x29, V::Wml11},
    {"fieldset", 0x2A, V::Wml11},  {"go", 0x2B, V::Wml11},       {"head", 0x2C, V::Wml11},
    {"i", 0x2D, V::Wml11},         {"img", 0x2E, V::Wml11},      {"input", 0x2F, V::Wml11},
    {"meta", 0x30, V::Wml11},      {"noop", 0x31, V::Wml11},     {"prev", 0x32, V::Wml11},
    {"onevent", 0x33, V::Wml11},   {"optgroup", 0x34, V::Wml11}, {"option", 0x35, V::Wml11},
    {"refresh", 0x36, V::Wml11},   {"select", 0x37, V::Wml11},   {"small", 0x38, V::Wml11},
    {"strong", 0x39, V::Wml11},    {"template", 0x3B, V::Wml11}, {"timer", 0x3C, V::Wml11},
    {"u", 0x3D, V::Wml11},         {"setvar", 0x3E, V::Wml11},   {"wml", 0x3F, V::Wml11},
};

struct Start {
  AttributeStart start;
  V since;
};

const Start kStarts[] = {
    {{"accept-charset", "", 0x05}, V::Wml11},
    {{"align", "bottom", 0x06}, V::Wml11},
    {{"align", "center", 0x07}, V::Wml11},
    {{"align", "left", 0x08}, V::Wml11},
    {{"align", "middle", 0x09}, V::Wml11},
    {{"align", "right", 0x0A}, V::Wml11},
    {{"align", "top", 0x0B}, V::Wml11},
    {{"alt", "", 0x0C}, V::Wml11},
    {{"content", "", 0x0D}, V::Wml11},
    {{"domain", "", 0x0F}, V::Wml11},
    {{"emptyok", "false", 0x10}, V::Wml11},
    {{"emptyok", "true", 0x11}, V::Wml11},
    {{"format", "", 0x12}, V::Wml11},
    {{"height", "", 0x13}, V::Wml11},
    {{"hspace", "", 0x14}, V::Wml11},
    {{"ivalue", "", 0x15}, V::Wml11},
    {{"iname", "", 0x16}, V::Wml11},
    {{"label", "", 0x18}, V::Wml11},
    {{"localsrc", "", 0x19}, V::Wml11},
    {{"maxlength", "", 0x1A}, V::Wml11},
    {{"method", "get", 0x1B}, V::Wml11},
    {{"method", "post", 0x1C}, V::Wml11},
    {{"mode", "nowrap", 0x1D}, V::Wml11},
    {{"mode", "wrap", 0x1E}, V::Wml11},
    {{"multiple", "false", 0x1F}, V::Wml11},
    {{"multiple", "true", 0x20}, V::Wml11},
    {{"name", "", 0x21}, V::Wml11},
    {{"newcontext", "false", 0x22}, V::Wml11},
    {{"newcontext", "true", 0x23}, V::Wml11},
    {{"onpick", "", 0x24}, V::Wml11},
    {{"onenterbackward", "", 0x25}, V::Wml11},
    {{"onenterforward", "", 0x26}, V::Wml11},
    {{"ontimer", "", 0x27}, V::Wml11},
    {{"optional", "false", 0x28}, V::Wml11},
    {{"optional", "true", 0x29}, V::Wml11},
    {{"path", "", 0x2A}, V::Wml11},
    {{"scheme", "", 0x2E}, V::Wml11},
    {{"sendreferer", "false", 0x2F}, V::Wml11},
    {{"sendreferer", "true", 0x30}, V::Wml11},
    {{"size", "", 0x31}, V::Wml11},
    {{"src", "", 0x32}, V::Wml11},
    {{"ordered", "true", 0x33}, V::Wml11},
    {{"ordered", "false", 0x34}, V::Wml11},
    {{"tabindex", "", 0x35}, V::Wml11},
    {{"title", "", 0x36}, V::Wml11},
    {{"type", "", 0x37}, V::Wml11},
    {{"type", "accept", 0x38}, V::Wml11},
    {{"type", "delete", 0x39}, V::Wml11},
    {{"type", "help", 0x3A}, V::Wml11},
    {{"type", "password", 0x3B}, V::Wml11},
    {{"type", "onpick", 0x3C}, V::Wml11},
    {{"type", "onenterbackward", 0x3D}, V::Wml11},
    {{"type", "onenterforward", 0x3E}, V::Wml11},
    {{"type", "ontimer", 0x3F}, V::Wml11},
    {{"type", "options", 0x45}, V::Wml11},
    {{"type", "prev", 0x46}, V::Wml11},
    {{"type", "reset", 0x47}, V::Wml11},
    {{"type", "text", 0x48}, V::Wml11},
    {{"type", "vnd.", 0x49}, V::Wml11},
    {{"href", "", 0x4A}, V::Wml11},
    {{"href", "http://", 0x4B}, V::Wml11},
    {{"href", "https://", 0x4C}, V::Wml11},
    {{"value", "", 0x4D}, V::Wml11},
    {{"vspace", "", 0x4E}, V::Wml11},
    {{"width", "", 0x4F}, V::Wml11},
    {{"xml:lang", "", 0x50}, V::Wml11},
    {{"align", "", 0x52}, V::Wml11},
    {{"columns", "", 0x53}, V::Wml11},
    {{"class", "", 0x54}, V::Wml11},
    {{"id", "", 0x55}, V::Wml11},
    {{"forua", "false", 0x56}, V::Wml11},
    {{"forua", "true", 0x57}, V::Wml11},
    {{"src", "http://", 0x58}, V::Wml11},
    {{"src", "https://", 0x59}, V::Wml11},
    {{"http-equiv", "", 0x5A}, V::Wml11},
    {{"http-equiv", "Content-Type", 0x5B}, V::Wml11},
    {{"content", "application/vnd.wap.wmlc;charset=", 0x5C}, V::Wml11},
    {{"http-equiv", "Expires", 0x5D}, V::Wml11},
    {{"accesskey", "", 0x5E}, V::Wml12},
    {{"enctype", "", 0x5F}, V::Wml12},
    {{"enctype", "application/x-www-form-urlencoded", 0x60}, V::Wml12},
    {{"enctype", "multipart/form-data", 0x61}, V::Wml12},
    {{"xml:space", "preserve", 0x62}, V::Wml13},
    {{"xml:space", "default", 0x63}, V::Wml13},
    {{"cache-control", "no-cache", 0x64}, V::Wml13},
};

struct Value {
  std::string_view text;
  std::uint8_t code;
  bool anywhere; // a URL piece; the words stand only for a whole value
};

// Longer pieces first, so "http://www." wins over "http://".
const Value kValues[] = {
    {"http://www.", 0x8F, true},
    {"https://www.", 0x91, true},
    {"http://", 0x8E, true},
    {"https://", 0x90, true},
    {".com/", 0x85, true},
    {".edu/", 0x86, true},
    {".net/", 0x87, true},
    {".org/", 0x88, true},
    {"www.", 0xA1, true},
    {"accept", 0x89, false},
    {"bottom", 0x8A, false},
    {"clear", 0x8B, false},
    {"delete", 0x8C, false},
    {"help", 0x8D, false},
    {"middle", 0x93, false},
    {"nowrap", 0x94, false},
    {"onpick", 0x95, false},
    {"onenterbackward", 0x96, false},
    {"onenterforward", 0x97, false},
    {"ontimer", 0x98, false},
    {"options", 0x99, false},
    {"password", 0x9A, false},
    {"reset", 0x9B, false},
    {"text", 0x9D, false},
    {"top", 0x9E, false},
    {"unknown", 0x9F, false},
    {"wrap", 0xA0, false},
};

bool available(V since, V version) { return static_cast<int>(since) <= static_cast<int>(version); }

} // namespace

std::optional<std::uint8_t> tagToken(std::string_view name, WmlVersion version) {
  for (const Tag& tag : kTags)
    if (tag.name == name && available(tag.since, version))
      return tag.code;
  return std::nullopt;
}

std::optional<std::string_view> tagName(std::uint8_t code) {
  for (const Tag& tag : kTags)
    if (tag.code == code)
      return tag.name;
  return std::nullopt;
}

std::optional<AttributeStart> attributeStart(std::string_view name, std::string_view value,
                                             WmlVersion version) {
  std::optional<AttributeStart> best;
  for (const Start& entry : kStarts) {
    const AttributeStart& start = entry.start;
    if (start.name != name || !available(entry.since, version) ||
        !value.starts_with(start.valuePrefix))
      continue;
    if (!best || start.valuePrefix.size() > best->valuePrefix.size())
      best = start;
  }
  return best;
}

std::optional<AttributeStart> attributeStartOf(std::uint8_t code) {
  for (const Start& entry : kStarts)
    if (entry.start.code == code)
      return entry.start;
  return std::nullopt;
}

std::optional<ValueMatch> attributeValueAt(std::string_view text, std::size_t pos) {
  const std::string_view rest = text.substr(pos);
  for (const Value& value : kValues) {
    if (value.anywhere ? rest.starts_with(value.text) : (pos == 0 && rest == value.text))
      return ValueMatch{value.code, value.text.size()};
  }
  return std::nullopt;
}

std::optional<std::string_view> attributeValueOf(std::uint8_t code) {
  for (const Value& value : kValues)
    if (value.code == code)
      return value.text;
  return std::nullopt;
}

bool holdsElementsOnly(std::string_view element) {
  static const std::string_view names[] = {"wml",      "head",      "template", "card",    "do",
                                           "go",       "prev",      "refresh",  "onevent", "select",
                                           "optgroup", "table",     "tr",       "access",  "meta",
                                           "noop",     "postfield", "setvar",   "timer"};
  for (std::string_view name : names)
    if (name == element)
      return true;
  return false;
}

} // namespace tessera::wml::wbxml
