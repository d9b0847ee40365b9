#include "wml/agent/UserAgent.h"

#include "wml/agent/WmlForms.h"
#include "wml/xml/XmlNodes.h"

#include <algorithm>

namespace tessera::wml::agent {

namespace {

void collectControls(const xmlNode* parent, std::vector<const xmlNode*>& controls) {
  for (const xmlNode* child : xml::childElements(parent)) {
    if (xml::isElement(child, "input") || xml::isElement(child, "select"))
      controls.push_back(child);
    else
      collectControls(child, controls);
  }
}

} // namespace

// Showing a card: its inputs and lists take their initial values, its timer
// starts, and the screen is laid out.
void UserAgent::display() {
  if (!card)
    return;
  std::vector<const xmlNode*> controls;
  collectControls(card, controls);
  for (const xmlNode* control : controls) {
    if (xml::isElement(control, "input"))
      initialiseInput(control, context);
    else
      initialiseSelect(control, context);
  }
  startTimer();
  relayout();
}

void UserAgent::relayout() {
  cardLayout = layOutCard(card, context);
  doBindings = activeDoBindings(card, deckTemplate(), context);
  softKeys = assignSoftKeys(doBindings);
  screen = cardLayout.screen;
  if (softKeys.left >= 0)
    screen.leftKey = doBindings[size_t(softKeys.left)].label;
  if (softKeys.menu)
    screen.rightKey = QStringLiteral("Menu");
  else if (softKeys.right >= 0)
    screen.rightKey = doBindings[size_t(softKeys.right)].label;
}

void UserAgent::showMenu() {
  screen = Screen();
  screen.kind = Screen::Kind::Menu;
  screen.title = QStringLiteral("Menu");
  for (size_t i = 0; i < softKeys.menuItems.size(); ++i) {
    ScreenLine line = plainLine(doBindings[size_t(softKeys.menuItems[i])].label);
    line.runs.front().link = int(i);
    screen.lines.push_back(line);
  }
  screen.rightKey = QStringLiteral("Back");
}

void UserAgent::showError(const QStringList& lines) {
  screen = Screen();
  screen.kind = Screen::Kind::Error;
  for (const QString& line : lines)
    screen.lines.push_back(plainLine(line));
  if (card)
    screen.rightKey = QStringLiteral("Back");
  message = lines.join(u' ');
}

void UserAgent::showOutside(const QStringList& lines) {
  screen = Screen();
  screen.kind = Screen::Kind::Task;
  for (const QString& line : lines)
    screen.lines.push_back(plainLine(line));
  screen.rightKey = QStringLiteral("Back");
}

void UserAgent::startTimer() {
  timerRunning = false;
  timerVariable.clear();
  const xmlNode* element = xml::firstChildElement(card, "timer");
  if (!element)
    return;
  bool valid = false;
  qint64 length =
      substituteVariables(xml::attribute(element, "value"), context).trimmed().toLongLong(&valid);
  if (!valid || length < 0)
    length = 0;
  const QString name = substituteVariables(xml::attribute(element, "name"), context).trimmed();
  if (isVariableName(name)) {
    // A positive count left in the variable resumes; anything else starts over.
    const qint64 kept = context.value(name).trimmed().toLongLong(&valid);
    if (context.isSet(name) && valid && kept > 0)
      length = kept;
    else
      context.set(name, QString::number(length));
    timerVariable = name;
  }
  if (length <= 0)
    return; // zero switches the timer off
  timerRunning = true;
  timerStart = clock.nowTenths();
  timerLength = length;
}

qint64 UserAgent::timerRemaining() const {
  if (!timerRunning)
    return -1;
  return std::max<qint64>(0, timerLength - (clock.nowTenths() - timerStart));
}

void UserAgent::leaveCard() {
  if (!timerRunning)
    return;
  if (!timerVariable.isEmpty())
    context.set(timerVariable, QString::number(timerRemaining()));
  timerRunning = false;
}

bool UserAgent::checkTimer() {
  // A card's timer waits while a script it called runs or asks something.
  if (!timerRunning || timerRemaining() > 0 || scriptRun)
    return false;
  expireTimer();
  return true;
}

void UserAgent::fireTimer() {
  if (timerRunning && !scriptRun)
    expireTimer();
}

void UserAgent::expireTimer() {
  timerRunning = false;
  if (!timerVariable.isEmpty())
    context.set(timerVariable, QStringLiteral("0"));
  const EventBinding binding = eventBinding(card, deckTemplate(), "ontimer", context);
  if (binding.bound)
    runTask(binding.task);
}

QString UserAgent::typedRefusal(const QString& name, const QString& entered, QChar next) const {
  for (const xmlNode* input : cardLayout.inputs)
    if (xml::attribute(input, "name") == name)
      return agent::typedRefusal(input, entered, next, context);
  return {};
}

bool UserAgent::setInput(const QString& name, const QString& value) {
  if (!card)
    return false;
  for (const xmlNode* input : cardLayout.inputs) {
    if (xml::attribute(input, "name") != name)
      continue;
    const QString refusal = inputRefusal(input, value, context);
    if (!refusal.isEmpty()) {
      message = refusal;
      return false;
    }
    context.set(name, value);
    message.clear();
    if (screen.kind == Screen::Kind::Card)
      relayout();
    return true;
  }
  message = QStringLiteral("No input \"%1\" on the card").arg(name);
  return false;
}

xmlNode* UserAgent::findSelect(const QString& name) const {
  if (!card || name.isEmpty())
    return nullptr;
  for (xmlNode* select : cardLayout.selects)
    if (xml::attribute(select, "name") == name || xml::attribute(select, "iname") == name)
      return select;
  return nullptr;
}

bool UserAgent::pick(const QString& selectName, int option) {
  const xmlNode* select = findSelect(selectName);
  if (!select) {
    message = QStringLiteral("No list \"%1\" on the card").arg(selectName);
    return false;
  }
  const std::vector<xmlNode*> options = selectOptions(select);
  if (option < 0 || option >= int(options.size()))
    return false;
  std::vector<int> chosen = currentSelection(select, context);
  if (isMultipleSelect(select)) {
    const auto found = std::find(chosen.begin(), chosen.end(), option);
    if (found == chosen.end()) {
      chosen.push_back(option);
      std::sort(chosen.begin(), chosen.end());
    } else {
      chosen.erase(found);
    }
  } else {
    chosen = {option};
  }
  storeSelection(select, chosen, context);
  message.clear();
  const EventBinding binding = pickBinding(options[size_t(option)], context);
  if (binding.bound && binding.task.kind != WmlTask::Kind::Noop &&
      binding.task.kind != WmlTask::Kind::None) {
    runTask(binding.task);
    return true;
  }
  if (screen.kind == Screen::Kind::Card)
    relayout();
  return true;
}

QString UserAgent::inputRule(const QString& name) const {
  for (const xmlNode* input : cardLayout.inputs)
    if (xml::attribute(input, "name") == name)
      return agent::inputRule(input, context);
  return {};
}

QStringList UserAgent::optionLabels(const QString& selectName) const {
  QStringList labels;
  if (const xmlNode* select = findSelect(selectName))
    for (const xmlNode* option : selectOptions(select))
      labels << optionLabel(option, context);
  return labels;
}

std::vector<int> UserAgent::chosenOptions(const QString& selectName) const {
  const xmlNode* select = findSelect(selectName);
  return select ? currentSelection(select, context) : std::vector<int>{};
}

bool UserAgent::isMultiple(const QString& selectName) const {
  const xmlNode* select = findSelect(selectName);
  return select && isMultipleSelect(select);
}

bool UserAgent::hasInput(const QString& name) const {
  for (const xmlNode* input : cardLayout.inputs)
    if (xml::attribute(input, "name") == name)
      return true;
  return false;
}

bool UserAgent::inputIsPassword(const QString& name) const {
  for (const xmlNode* input : cardLayout.inputs)
    if (xml::attribute(input, "name") == name)
      return xml::attribute(input, "type").trimmed() == QLatin1String("password");
  return false;
}

QString UserAgent::controlTitle(const QString& name) const {
  for (const xmlNode* input : cardLayout.inputs)
    if (xml::attribute(input, "name") == name)
      return substituteVariables(xml::attribute(input, "title"), context).simplified();
  if (const xmlNode* select = findSelect(name))
    return substituteVariables(xml::attribute(select, "title"), context).simplified();
  return {};
}

wml::LineColumn UserAgent::cardStart() const {
  return card && deck ? deck->parsed.position(card) : wml::LineColumn();
}

QStringList UserAgent::deckInfo() const {
  // Which deck this is comes first: the box must never sit empty.
  const QString shownPath = deckPath.isEmpty() ? documentPath : deckPath;
  QStringList lines{shownPath.isEmpty() ? QStringLiteral("Deck: the document, not saved yet")
                                        : QStringLiteral("Deck: ") + shownPath};
  if (!deck || !deck->ok())
    return lines;
  const xmlNode* head = xml::firstChildElement(xmlDocGetRootElement(deck->tree()), "head");
  for (const xmlNode* element : xml::childElements(head)) {
    if (xml::isElement(element, "access")) {
      QString line = QStringLiteral("Access");
      const QString domain = xml::attribute(element, "domain");
      const QString path = xml::attribute(element, "path");
      line += domain.isNull() ? QString() : QStringLiteral(" domain ") + domain;
      line += path.isNull() ? QString() : QStringLiteral(" path ") + path;
      lines << line;
    } else if (xml::isElement(element, "meta")) {
      const QString name = xml::attribute(element, "name");
      const QString key = name.isNull() ? xml::attribute(element, "http-equiv") : name;
      lines << key + QStringLiteral(": ") + xml::attribute(element, "content");
    }
  }
  if (lines.size() == 1)
    lines << QStringLiteral("No <head>: no access control, no meta data");
  return lines;
}

} // namespace tessera::wml::agent
