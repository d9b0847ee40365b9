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

// The values a select's value, name variable, ivalue or iname variable
// holds: a ';' list in a multiple-choice select, one value (even with ';' in
// it) in a single-choice one.
QStringList valuesOf(const QString& text, bool multiple) {
  return multiple ? text.split(u';') : QStringList{text};
}

// The "validate" operation: the 1-based indices of `list` that are whole
// numbers from 1 to the option count, each once, in their order; returned
// from 0.
std::vector<int> validatedIndices(const QString& list, int optionCount, bool multiple) {
  std::vector<int> indices;
  for (const QString& part : valuesOf(list, multiple)) {
    bool ok = false;
    const int index = part.trimmed().toInt(&ok, 10);
    if (ok && index >= 1 && index <= optionCount &&
        std::find(indices.begin(), indices.end(), index - 1) == indices.end())
      indices.push_back(index - 1);
  }
  return indices;
}

// For each value, the first option holding it, each option once.
std::vector<int> indicesMatching(const QString& valueList, const std::vector<xmlNode*>& options,
                                 bool multiple, const WmlVariables& variables) {
  QStringList optionValues;
  for (const xmlNode* option : options)
    optionValues << attributeValue(option, "value", variables);
  std::vector<int> indices;
  for (const QString& wanted : valuesOf(valueList, multiple)) {
    const int index = int(optionValues.indexOf(wanted));
    if (index >= 0 && std::find(indices.begin(), indices.end(), index) == indices.end())
      indices.push_back(index);
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
        validatedIndices(variables.value(indexName), int(options.size()), multiple);
    if (!indices.empty())
      return indices;
  }
  const QString valueName = xml::attribute(select, "name");
  if (!valueName.isEmpty() && variables.isSet(valueName))
    return indicesMatching(variables.value(valueName), options, multiple, variables);
  // A select without variables cannot keep a choice: it shows its default.
  if (indexName.isEmpty() && valueName.isEmpty())
    return defaultOptions(select, variables);
  return {};
}

std::vector<int> defaultOptions(const xmlNode* select, const WmlVariables& variables) {
  const std::vector<xmlNode*> options = selectOptions(select);
  const int count = int(options.size());
  const bool multiple = isMultipleSelect(select);
  const QString indexName = xml::attribute(select, "iname");
  const QString valueName = xml::attribute(select, "name");
  // The first source that names a valid option decides. A variable holding
  // the empty string is not set.
  const auto holds = [&variables](const QString& name) {
    return !name.isEmpty() && !variables.value(name).isEmpty();
  };
  std::vector<int> chosen;
  if (holds(indexName))
    chosen = validatedIndices(variables.value(indexName), count, multiple);
  if (chosen.empty() && xml::hasAttribute(select, "ivalue"))
    chosen = validatedIndices(attributeValue(select, "ivalue", variables), count, multiple);
  if (chosen.empty() && holds(valueName))
    chosen = indicesMatching(variables.value(valueName), options, multiple, variables);
  if (chosen.empty() && xml::hasAttribute(select, "value"))
    chosen =
        indicesMatching(attributeValue(select, "value", variables), options, multiple, variables);
  // Else none (index 0) in a multiple-choice select, the first option in a
  // single-choice one.
  if (chosen.empty() && !multiple && count > 0)
    chosen = {0};
  return chosen;
}

void initialiseSelect(const xmlNode* select, WmlVariables& variables) {
  storeSelection(select, defaultOptions(select, variables), variables);
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
  // No value is an unset variable, not one holding the empty string.
  if (!valueName.isEmpty() && values.isEmpty())
    variables.unset(valueName);
  else if (!valueName.isEmpty())
    variables.set(valueName, values.join(u';'));
  // Index 0 says that no option is chosen.
  if (!indexName.isEmpty())
    variables.set(indexName, indices.isEmpty() ? QStringLiteral("0") : indices.join(u';'));
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

QString typedRefusal(const xmlNode* input, const QString& entered, QChar next,
                     const WmlVariables& variables) {
  bool hasLimit = false;
  const int maxLength = attributeValue(input, "maxlength", variables).toInt(&hasLimit);
  if (hasLimit && maxLength >= 0 && entered.size() >= maxLength)
    return QStringLiteral("\"%1\" refused: at most %2 characters").arg(next).arg(maxLength);
  const auto mask =
      syntax::InputMask::parse(attributeValue(input, "format", variables), xml::versionOf(input));
  return mask ? mask->refusalOfNext(entered, next) : QString();
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
