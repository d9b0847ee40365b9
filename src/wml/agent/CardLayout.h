#pragma once

#include "wml/agent/ScreenModel.h"
#include "wml/agent/WmlVariables.h"

#include <libxml/tree.h>

#include <vector>

namespace tessera::wml::agent {

// A card laid out for the screen, with the elements its links, inputs and
// lists stand for, in document order (the indices the runs carry).
struct CardLayout {
  Screen screen;
  std::vector<xmlNode*> links; // a or anchor
  std::vector<xmlNode*> inputs;
  std::vector<xmlNode*> selects;
};

// Lays out the card's title and body; the soft keys are left to the caller.
CardLayout layOutCard(const xmlNode* card, const WmlVariables& variables);

} // namespace tessera::wml::agent
