#pragma once

#include "editor/Insertion.h"

#include <optional>

// Links that use the handset's phone functions (WTAI public library). The
// number goes in as typed: blanks and dashes stay.
namespace tessera {

// A link that places a call: "wtai://wp/mc;" + number.
Insertion phoneCallLink(const QString& number, const QString& text);

// A link that adds the number to the phone book: "wtai://wp/ap;" + number,
// then ";" + name while the name is switched on (an empty name still gives
// the semicolon).
Insertion nameListLink(const QString& number, const QString& text,
                       const std::optional<QString>& name);

} // namespace tessera
