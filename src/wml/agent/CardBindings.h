#pragma once

#include "wml/agent/WmlTask.h"
#include "wml/agent/WmlVariables.h"

#include <QString>
#include <libxml/tree.h>

#include <vector>

namespace tessera::wml::agent {

// A do element the card offers after template shadowing.
struct DoBinding {
  xmlNode* element = nullptr;
  QString type;
  QString label;
};

// The card's do elements, then the template's not shadowed by name; a do
// whose task is noop is not offered at either level.
std::vector<DoBinding> activeDoBindings(const xmlNode* card, const xmlNode* deckTemplate,
                                        const WmlVariables& variables);

// The label a do without one gets from its type.
QString defaultDoLabel(const QString& type);

// Indices into the bindings: the left key takes the first accept (else the
// first do); the right key the first other prev, else options, else the
// next; with more than two, the right key is "Menu" listing all the others.
struct SoftKeys {
  int left = -1;
  int right = -1;
  bool menu = false;
  std::vector<int> menuItems;
};
SoftKeys assignSoftKeys(const std::vector<DoBinding>& bindings);

// The task bound to an intrinsic event (onenterforward, onenterbackward,
// ontimer): the card's attribute or onevent before the template's.
struct EventBinding {
  bool bound = false;
  WmlTask task;
};
EventBinding eventBinding(const xmlNode* card, const xmlNode* deckTemplate, const char* type,
                          const WmlVariables& variables);

// An option's onpick attribute or onevent.
EventBinding pickBinding(const xmlNode* option, const WmlVariables& variables);

} // namespace tessera::wml::agent
