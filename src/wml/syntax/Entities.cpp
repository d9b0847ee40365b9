#include "wml/syntax/Entities.h"

#include <QString>

#include <algorithm>
#include <array>

namespace tessera::wml::syntax {
namespace {

constexpr std::array<NamedEntity, 7> kEntities{{
    {"amp", u'&', "&", true},
    {"lt", u'<', "<", true},
    {"gt", u'>', ">", true},
    {"quot", u'"', "\"", true},
    {"apos", u'\'', "'", true},
    {"nbsp", u'\u00A0', "\xC2\xA0", false},
    {"shy", u'\u00AD', "\xC2\xAD", false},
}};

} // namespace

std::span<const NamedEntity> namedEntities() { return kEntities; }

const NamedEntity* namedEntity(std::string_view name) {
  const auto it = std::find_if(kEntities.begin(), kEntities.end(),
                               [name](const NamedEntity& e) { return e.name == name; });
  return it == kEntities.end() ? nullptr : &*it;
}

const NamedEntity* namedEntity(QStringView name) {
  const auto it = std::find_if(kEntities.begin(), kEntities.end(), [name](const NamedEntity& e) {
    return name == QLatin1String(e.name.data(), qsizetype(e.name.size()));
  });
  return it == kEntities.end() ? nullptr : &*it;
}

const NamedEntity* wmlEntityFor(char16_t character) {
  const auto it =
      std::find_if(kEntities.begin(), kEntities.end(), [character](const NamedEntity& e) {
        return !e.predefinedByXml && e.character == character;
      });
  return it == kEntities.end() ? nullptr : &*it;
}

} // namespace tessera::wml::syntax
