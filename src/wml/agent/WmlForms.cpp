#include "wml/agent/WmlForms.h"

#include "wml/syntax/InputMask.h"
#include "wml/xml/XmlNodes.h"

#include <QStringList>

#include <algorithm>

namespace tessera::wml::agent {

namespace {

void collectOptions(const xmlNode* parent, std::vector<xmlNode*>& options) {
  for (xmlNode* child : xml::childElements(parent)) {
    if (xml::isElement(child, "option"))
      options.push_back(child);
    else if (xml::isElement(child, "optgroup"))
      collectOptions(child, options);
  }
}

QString attributeValue(const xmlNode* node, const char* name, const WmlVariables& variables) {
  return substituteVariables(xml::attribute(node, name), variables);
}

// Indices from a ';' list of 1-based numbers; invalid ones are dropped.
std::vector<int> indicesFrom(const QString& list, int optionCount, bool multiple) {
  std::vector<int> indices;
  for (const QString& part : list.split(u';', Qt::SkipEmptyParts)) {
    bool ok = false;
    const int index = part.trimmed().toInt(&ok);
    if (ok && index >= 1 && index <= optionCount)
      indices.push_back(index - 1);
    if (!multiple && !indices.empty())
      break;
  }
  std::sort(indices.begin(), indices.end());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  return indices;
}

std::vector<int> indicesMatching(const QString& valueList, const std::vector<xmlNode*>& options,
                                 bool multiple, const WmlVariables& variables) {
  const QStringList wanted = multiple ? valueList.split(u';') : QStringList{valueList};
  std::vector<int> indices;
  for (int i = 0; i < int(options.size()); ++i) {
    if (wanted.contains(attributeValue(options[size_t(i)], "value", variables))) {
      indices.push_back(i);
      if (!multiple)
        break;
    }
  }
  return indices;
}

bool isTrue(const QString& value) { return value.trimmed() == QLatin1String("true"); }

} // namespace

QString collapsedText(const QString& text) { return text.simplified(); }

std::vector<xmlNode*> selectOptions(const xmlNode* select) {
  std::vector<xmlNode*> options;
  collectOptions(select, options);
  return options;
}

QString optionLabel(const xmlNode* option, const WmlVariables& variables) {
  return collapsedText(substituteVariables(xml::allText(option), variables));
}

bool isMultipleSelect(const xmlNode* select) { return isTrue(xml::attribute(select, "multiple")); }

std::vector<int> currentSelection(const xmlNode* select, const WmlVariables& variables) {
  const std::vector<xmlNode*> options = selectOptions(select);
  const bool multiple = isMultipleSelect(select);
  const QString indexName = xml::attribute(select, "iname");
  if (!indexName.isEmpty() && variables.isSet(indexName)) {
    const std::vector<int> indices =
        indicesFrom(variables.value(indexName), int(options.size()), multiple);
    if (!indices.empty())
      return indices;
  }
  const QString valueName = xml::attribute(select, "name");
  if (!valueName.isEmpty() && variables.isSet(valueName))
    return indicesMatching(variables.value(valueName), options, multiple, variables);
  return {};
}

void initialiseSelect(const xmlNode* select, WmlVariables& variables) {
  const std::vector<xmlNode*> options = selectOptions(select);
  const int count = int(options.size());
  const bool multiple = isMultipleSelect(select);
  const QString indexName = xml::attribute(select, "iname");
  const QString valueName = xml::attribute(select, "name");

  // The first source that names a valid option decides the default.
  std::vector<int> chosen;
  if (!indexName.isEmpty() && variables.isSet(indexName))
    chosen = indicesFrom(variables.value(indexName), count, multiple);
  if (chosen.empty() && xml::hasAttribute(select, "ivalue"))
    chosen = indicesFrom(attributeValue(select, "ivalue", variables), count, multiple);
  if (chosen.empty() && !valueName.isEmpty() && variables.isSet(valueName))
    chosen = indicesMatching(variables.value(valueName), options, multiple, variables);
  if (chosen.empty() && xml::hasAttribute(select, "value"))
    chosen =
        indicesMatching(attributeValue(select, "value", variables), options, multiple, variables);
  if (chosen.empty() && !multiple && count > 0)
    chosen = {0};
  storeSelection(select, chosen, variables);
}

void storeSelection(const xmlNode* select, const std::vector<int>& chosen,
                    WmlVariables& variables) {
  const std::vector<xmlNode*> options = selectOptions(select);
  QStringList values;
  QStringList indices;
  for (int index : chosen) {
    if (index < 0 || index >= int(options.size()))
      continue;
    values << attributeValue(options[size_t(index)], "value", variables);
    indices << QString::number(index + 1);
  }
  const QString valueName = xml::attribute(select, "name");
  const QString indexName = xml::attribute(select, "iname");
  if (!valueName.isEmpty())
    variables.set(valueName, values.join(u';'));
  if (!indexName.isEmpty())
    variables.set(indexName, indices.join(u';'));
}

QString inputRefusal(const xmlNode* input, const QString& value, const WmlVariables& variables) {
  if (value.isEmpty()) {
    // Empty is refused unless the author allows it.
    return isTrue(xml::attribute(input, "emptyok")) ? QString()
                                                    : QStringLiteral("A value is required");
  }
  bool hasLimit = false;
  const int maxLength = attributeValue(input, "maxlength", variables).toInt(&hasLimit);
  if (hasLimit && maxLength >= 0 && value.size() > maxLength)
    return QStringLiteral("At most %1 characters").arg(maxLength);
  const auto mask =
      syntax::InputMask::parse(attributeValue(input, "format", variables), xml::versionOf(input));
  if (mask && !mask->accepts(value))
    return QStringLiteral("Does not match the format");
  return {};
}

void initialiseInput(const xmlNode* input, WmlVariables& variables) {
  const QString name = xml::attribute(input, "name");
  if (name.isEmpty())
    return;
  if (variables.isSet(name) && inputRefusal(input, variables.value(name), variables).isEmpty())
    return;
  const QString initial = attributeValue(input, "value", variables);
  if (xml::hasAttribute(input, "value") && inputRefusal(input, initial, variables).isEmpty())
    variables.set(name, initial);
  else
    variables.unset(name);
}

QString inputShownValue(const xmlNode* input, const WmlVariables& variables) {
  const QString value = variables.value(xml::attribute(input, "name"));
  if (xml::attribute(input, "type").trimmed() == QLatin1String("password"))
    return QString(value.size(), u'*');
  return value;
}

QString inputRule(const xmlNode* input, const WmlVariables& variables) {
  const auto mask =
      syntax::InputMask::parse(attributeValue(input, "format", variables), xml::versionOf(input));
  return mask ? mask->describe() : QString();
}

} // namespace tessera::wml::agent
