#include "wml/agent/CardBindings.h"

#include "wml/xml/XmlNodes.h"

#include <QSet>

namespace tessera::wml::agent {

namespace {

void collectDos(const xmlNode* parent, std::vector<xmlNode*>& dos) {
  for (xmlNode* child : xml::childElements(parent)) {
    if (xml::isElement(child, "do"))
      dos.push_back(child);
    else if (!xml::isElement(child, "onevent") && !xml::isElement(child, "template"))
      collectDos(child, dos);
  }
}

QString doName(const xmlNode* element) {
  const QString name = xml::attribute(element, "name").trimmed();
  return name.isEmpty() ? xml::attribute(element, "type").trimmed() : name;
}

bool holdsNoop(const xmlNode* holder) {
  for (const xmlNode* child : xml::childElements(holder))
    if (xml::isElement(child, "noop"))
      return true;
  return false;
}

// The element's own binding for the event, or unbound.
EventBinding ownBinding(const xmlNode* element, const char* type, const WmlVariables& variables) {
  EventBinding binding;
  if (!element)
    return binding;
  const QString href = xml::attribute(element, type);
  if (!href.isNull()) {
    binding.bound = true;
    binding.task = goTo(href, variables);
    return binding;
  }
  for (const xmlNode* onevent : xml::childElements(element, "onevent")) {
    if (xml::attribute(onevent, "type").trimmed() == QLatin1String(type)) {
      binding.bound = true;
      binding.task = taskInside(onevent, variables);
      return binding;
    }
  }
  return binding;
}

} // namespace

QString defaultDoLabel(const QString& type) {
  if (type == QLatin1String("accept"))
    return QStringLiteral("OK");
  if (type == QLatin1String("prev"))
    return QStringLiteral("Back");
  if (type == QLatin1String("options"))
    return QStringLiteral("Options");
  return type;
}

std::vector<DoBinding> activeDoBindings(const xmlNode* card, const xmlNode* deckTemplate,
                                        const WmlVariables& variables) {
  std::vector<xmlNode*> cardDos;
  collectDos(card, cardDos);
  QSet<QString> cardNames;
  for (const xmlNode* element : cardDos)
    cardNames.insert(doName(element));

  std::vector<xmlNode*> offered;
  for (xmlNode* element : cardDos)
    if (!holdsNoop(element))
      offered.push_back(element);
  if (deckTemplate)
    for (xmlNode* element : xml::childElements(deckTemplate, "do"))
      if (!cardNames.contains(doName(element)) && !holdsNoop(element))
        offered.push_back(element);

  std::vector<DoBinding> bindings;
  for (xmlNode* element : offered) {
    DoBinding binding;
    binding.element = element;
    binding.type = xml::attribute(element, "type").trimmed();
    binding.label = substituteVariables(xml::attribute(element, "label"), variables).simplified();
    if (binding.label.isEmpty())
      binding.label = defaultDoLabel(binding.type);
    bindings.push_back(binding);
  }
  return bindings;
}

SoftKeys assignSoftKeys(const std::vector<DoBinding>& bindings) {
  SoftKeys keys;
  const int count = int(bindings.size());
  if (count == 0)
    return keys;
  keys.left = 0;
  for (int i = 0; i < count; ++i) {
    if (bindings[size_t(i)].type == QLatin1String("accept")) {
      keys.left = i;
      break;
    }
  }
  if (count == 1)
    return keys;
  if (count > 2) {
    keys.menu = true;
    for (int i = 0; i < count; ++i)
      if (i != keys.left)
        keys.menuItems.push_back(i);
    return keys;
  }
  keys.right = keys.left == 0 ? 1 : 0;
  return keys;
}

EventBinding eventBinding(const xmlNode* card, const xmlNode* deckTemplate, const char* type,
                          const WmlVariables& variables) {
  EventBinding binding = ownBinding(card, type, variables);
  if (!binding.bound)
    binding = ownBinding(deckTemplate, type, variables);
  return binding;
}

EventBinding pickBinding(const xmlNode* option, const WmlVariables& variables) {
  return ownBinding(option, "onpick", variables);
}

} // namespace tessera::wml::agent
