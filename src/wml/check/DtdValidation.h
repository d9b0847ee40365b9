#pragma once

#include "wml/Finding.h"
#include "wml/ParsedDeck.h"
#include "wml/check/Explained.h"

namespace tessera::wml::check {

// Validates a well-formed deck against the document type of its version (1.1
// when its DOCTYPE names none) and words each fault in plain English at the
// element's start tag, leaving out what `explained` already covers.
QList<Finding> validateAgainstDtd(const ParsedDeck& deck, const Explained& explained);

} // namespace tessera::wml::check
