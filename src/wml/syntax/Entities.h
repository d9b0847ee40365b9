#pragma once

#include <QStringView>

#include <span>
#include <string_view>

namespace tessera::wml::syntax {

// A character entity every WML deck may name: XML's five and the two WML's
// document types add. The checker's parser, the compiler, the preview's text,
// the decompiler and the colouring all read names through this one table.
struct NamedEntity {
  std::string_view name;
  char16_t character;
  std::string_view utf8;
  bool predefinedByXml; // known to every XML parser without a document type
};

std::span<const NamedEntity> namedEntities();

// The entity called `name` (without "&" and ";"), if WML knows it.
const NamedEntity* namedEntity(std::string_view name);
const NamedEntity* namedEntity(QStringView name);

// The WML-only entity that names `character` (no-break space, soft hyphen):
// characters a reader cannot see, so a written deck names them.
const NamedEntity* wmlEntityFor(char16_t character);

} // namespace tessera::wml::syntax
