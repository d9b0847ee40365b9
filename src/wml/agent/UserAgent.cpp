#include "wml/agent/UserAgent.h"

#include "wml/agent/WmlForms.h"
#include "wml/script/UrlCall.h"
#include "wml/xml/XmlNodes.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace tessera::wml::agent {

namespace {

// Intrinsic events may lead from card to card; a deck whose events never
// settle is stopped rather than followed for ever.
constexpr int maxChainedTasks = 32;

xmlNode* deckRoot(const DeckDocument* deck) {
  if (!deck || !deck->ok())
    return nullptr;
  xmlNode* root = xmlDocGetRootElement(deck->tree());
  return xml::isElement(root, "wml") ? root : nullptr;
}

QStringList notWellFormedLines(const DeckDocument& deck) {
  return {deck.parsed.wellFormed() ? QStringLiteral("Cannot be shown")
                                   : QStringLiteral("Not well-formed"),
          QStringLiteral("Line %1: %2").arg(deck.errorLine).arg(deck.errorMessage)};
}

} // namespace

UserAgent::UserAgent(const AgentClock& clock, DeckLoader loader)
    : clock(clock), loader(std::move(loader)) {}

UserAgent::~UserAgent() = default;

void UserAgent::openDeck(const QString& text, const QString& path, const QString& cardId) {
  openDeck(std::make_shared<DeckDocument>(readDeckDocument(text)), path, cardId);
}

void UserAgent::openDeck(std::shared_ptr<const DeckDocument> parsed, const QString& path,
                         const QString& cardId) {
  timerRunning = false;
  scriptRun.reset();
  forgetCard();
  loadedDecks.clear();
  documentPath = path;
  documentDeck = std::move(parsed);
  deck = documentDeck;
  deckPath.clear();
  newContext();
  if (!documentDeck->ok()) {
    showError(notWellFormedLines(*documentDeck));
    return;
  }
  xmlNode* first = cardById(cardId);
  if (!first) {
    showError({cardId.isEmpty() ? QStringLiteral("The deck has no card")
                                : QStringLiteral("No card \"%1\" in the deck").arg(cardId)});
    return;
  }
  setCard(first);
  historyStack.push_back({deckPath, shownCardId, shownCardIndex});
  enterCard(Direction::Forward);
}

void UserAgent::updateDeck(const QString& text, const QString& cardId) {
  updateDeck(std::make_shared<DeckDocument>(readDeckDocument(text)), cardId);
}

void UserAgent::updateDeck(std::shared_ptr<const DeckDocument> parsed, const QString& cardId) {
  const bool toDocument = deckPath.isEmpty() || !cardId.isEmpty();
  if (toDocument) {
    scriptRun.reset(); // a call from the old text ends with it
    leaveCard();
    forgetCard(); // the old tree goes away below
  }
  documentDeck = std::move(parsed);
  if (!toDocument)
    return; // another deck is shown; the document's new text waits for a link to it
  deck = documentDeck;
  deckPath.clear();
  if (!documentDeck->ok()) {
    showError(notWellFormedLines(*documentDeck));
    return;
  }
  xmlNode* target = nullptr;
  if (!cardId.isEmpty()) {
    target = cardById(cardId);
  } else {
    // The shown card again; by its place when its id was being edited.
    target = cardAt({QString(), shownCardId, shownCardIndex});
    if (!target)
      target = cardAt({QString(), QString(), shownCardIndex});
    if (!target)
      target = cardById(QString());
  }
  // The card the caret is in is a new start; the shown card again is not.
  showCardNode(target, cardId, cardId.isEmpty() ? History::ReplaceLast : History::StartAfresh);
}

void UserAgent::showCard(const QString& cardId) {
  if (!deckRoot(deck.get()))
    return;
  scriptRun.reset();
  leaveCard();
  showCardNode(cardById(cardId), cardId, History::StartAfresh);
}

void UserAgent::showCardNode(xmlNode* target, const QString& wantedId, History history) {
  if (!target) {
    forgetCard();
    showError({wantedId.isEmpty() ? QStringLiteral("The deck has no card")
                                  : QStringLiteral("No card \"%1\" in the deck").arg(wantedId)});
    return;
  }
  setCard(target);
  const HistoryEntry entry{deckPath, shownCardId, shownCardIndex};
  // Only navigation inside the preview adds to the history: showing the
  // caret's card after an edit while a timer had moved on must not stack
  // the two cards up once per edit.
  if (history == History::StartAfresh)
    historyStack.clear();
  if (historyStack.empty())
    historyStack.push_back(entry);
  else
    historyStack.back() = entry;
  display();
}

void UserAgent::setCard(xmlNode* newCard) {
  card = newCard;
  shownCardId = xml::attribute(card, "id");
  shownCardIndex = 0;
  for (xmlNode* other : xml::childElements(deckRoot(deck.get()), "card")) {
    if (other == card)
      break;
    ++shownCardIndex;
  }
}

void UserAgent::forgetCard() {
  card = nullptr;
  cardLayout = CardLayout();
  doBindings.clear();
  softKeys = SoftKeys();
}

QStringList UserAgent::historyLabels() const {
  QStringList labels;
  for (const HistoryEntry& entry : historyStack) {
    const QString deckName =
        entry.deckPath.isEmpty() ? QString() : QFileInfo(entry.deckPath).fileName();
    labels << (entry.cardId.isEmpty()
                   ? deckName + QStringLiteral(" (card %1)").arg(entry.cardIndex + 1)
                   : deckName + u'#' + entry.cardId);
  }
  return labels;
}

xmlNode* UserAgent::cardById(const QString& id) const {
  const std::vector<xmlNode*> cards = xml::childElements(deckRoot(deck.get()), "card");
  if (id.isEmpty())
    return cards.empty() ? nullptr : cards.front();
  for (xmlNode* candidate : cards)
    if (xml::attribute(candidate, "id") == id)
      return candidate;
  return nullptr;
}

xmlNode* UserAgent::cardAt(const HistoryEntry& entry) const {
  if (!entry.cardId.isEmpty())
    return cardById(entry.cardId);
  const std::vector<xmlNode*> cards = xml::childElements(deckRoot(deck.get()), "card");
  return entry.cardIndex < int(cards.size()) ? cards[size_t(entry.cardIndex)] : nullptr;
}

xmlNode* UserAgent::deckTemplate() const {
  return xml::firstChildElement(deckRoot(deck.get()), "template");
}

void UserAgent::runTask(const WmlTask& task) {
  if (taskDepth >= maxChainedTasks) {
    leaveCard();
    forgetCard();
    showError({QStringLiteral("Stopped: the deck's events lead on without end")});
    return;
  }
  ++taskDepth;
  switch (task.kind) {
  case WmlTask::Kind::Go: go(task); break;
  case WmlTask::Kind::Prev: prev(task.setvars); break;
  case WmlTask::Kind::Refresh: refresh(task.setvars); break;
  default: break;
  }
  --taskDepth;
}

QString UserAgent::resolvedPath(const QString& relative) const {
  const QString base = deckPath.isEmpty() ? documentPath : deckPath;
  if (base.isEmpty() || QDir::isAbsolutePath(relative))
    return QDir::cleanPath(relative);
  return QDir::cleanPath(QFileInfo(base).dir().filePath(relative));
}

std::shared_ptr<const DeckDocument> UserAgent::deckAt(const QString& path) {
  if (path.isEmpty() || path == documentPath)
    return documentDeck;
  if (auto found = loadedDecks.find(path); found != loadedDecks.end())
    return found.value();
  if (!loader)
    return nullptr;
  const std::optional<QString> text = loader(path);
  if (!text)
    return nullptr;
  auto loaded = std::make_shared<DeckDocument>(readDeckDocument(*text));
  loadedDecks.insert(path, loaded);
  return loaded;
}

void UserAgent::go(const WmlTask& task) {
  const Destination destination = destinationOf(task.href);
  if (destination.kind == Destination::Kind::Outside) {
    applySetvars(task.setvars);
    leaveCard();
    showOutside(outsideTaskLines(task));
    return;
  }
  if (destination.kind == Destination::Kind::Script) {
    callScript(task, destination);
    return;
  }
  std::shared_ptr<const DeckDocument> target = deck;
  QString targetPath = deckPath;
  if (destination.kind == Destination::Kind::LocalDeck) {
    targetPath = resolvedPath(destination.path);
    if (targetPath == documentPath)
      targetPath.clear();
    target = deckAt(targetPath);
    if (!target) {
      showError({QStringLiteral("Cannot open ") + destination.path});
      return;
    }
    if (!target->ok()) {
      showError(QStringList{destination.path} + notWellFormedLines(*target));
      return;
    }
  }
  const std::shared_ptr<const DeckDocument> previousDeck = deck;
  deck = target;
  xmlNode* destinationCard = cardById(destination.fragment);
  deck = previousDeck;
  if (!destinationCard) {
    showError({destination.fragment.isEmpty()
                   ? QStringLiteral("The deck has no card")
                   : QStringLiteral("No card \"%1\" in the deck").arg(destination.fragment)});
    return;
  }
  applySetvars(task.setvars);
  leaveCard();
  deck = target;
  deckPath = targetPath;
  setCard(destinationCard);
  if (xml::attribute(card, "newcontext").trimmed() == QLatin1String("true"))
    newContext();
  historyStack.push_back({deckPath, shownCardId, shownCardIndex});
  enterCard(Direction::Forward);
}

void UserAgent::prev(const NameValueList& setvars) {
  if (historyStack.size() < 2)
    return; // nothing to go back to: a phone does nothing
  applySetvars(setvars);
  leaveCard();
  historyStack.pop_back();
  const HistoryEntry entry = historyStack.back();
  std::shared_ptr<const DeckDocument> target = deckAt(entry.deckPath);
  if (!target || !target->ok()) {
    forgetCard();
    showError({QStringLiteral("Cannot open ") + entry.deckPath});
    return;
  }
  deck = target;
  deckPath =
      entry.deckPath.isEmpty() || entry.deckPath == documentPath ? QString() : entry.deckPath;
  xmlNode* previous = cardAt(entry);
  if (!previous) {
    forgetCard();
    showError({QStringLiteral("No card \"%1\" in the deck").arg(entry.cardId)});
    return;
  }
  setCard(previous);
  enterCard(Direction::Backward);
}

void UserAgent::refresh(const NameValueList& setvars) {
  applySetvars(setvars);
  if (!card)
    return;
  leaveCard();
  display();
}

void UserAgent::enterCard(Direction direction) {
  if (direction != Direction::Redisplay) {
    const char* type = direction == Direction::Forward ? "onenterforward" : "onenterbackward";
    const EventBinding binding = eventBinding(card, deckTemplate(), type, context);
    if (binding.bound) {
      switch (binding.task.kind) {
      case WmlTask::Kind::Go:
      case WmlTask::Kind::Prev: runTask(binding.task); return;
      case WmlTask::Kind::Refresh: applySetvars(binding.task.setvars); break;
      default: break;
      }
    }
  }
  display();
}

void UserAgent::applySetvars(const NameValueList& setvars) {
  for (const auto& setvar : setvars)
    if (isVariableName(setvar.first))
      context.set(setvar.first, setvar.second);
}

void UserAgent::newContext() {
  context.clear();
  historyStack.clear();
}

void UserAgent::back() {
  if (scriptRun) {
    // Back on a dialog answers it as its cancel would; a running slice
    // cannot be interrupted by a key.
    if (!dismissAlert() && !answerConfirm(false))
      answerPrompt(promptInput);
    return;
  }
  switch (screen.kind) {
  case Screen::Kind::Card: prev({}); return;
  case Screen::Kind::Task:
    if (card)
      display(); // the card was left: its timer starts again
    return;
  default:
    if (card)
      relayout();
    return;
  }
}

bool UserAgent::followLink(int n) {
  if (scriptRun)
    return false;
  if (screen.kind == Screen::Kind::Menu) {
    if (n < 0 || n >= int(softKeys.menuItems.size()))
      return false;
    runTask(taskInside(doBindings[size_t(softKeys.menuItems[size_t(n)])].element, context));
    return true;
  }
  if (screen.kind != Screen::Kind::Card || n < 0 || n >= int(cardLayout.links.size()))
    return false;
  const xmlNode* link = cardLayout.links[size_t(n)];
  runTask(xml::isElement(link, "a") ? goTo(xml::attribute(link, "href"), context)
                                    : taskInside(link, context));
  return true;
}

bool UserAgent::pressSoftKey(int n) {
  if (scriptRun) {
    if (n == 1)
      return dismissAlert() || answerConfirm(true) || answerPrompt(promptInput);
    return n == 2 && answerConfirm(false);
  }
  if (screen.kind != Screen::Kind::Card) {
    if (n == 2 && !screen.rightKey.isEmpty()) {
      back();
      return true;
    }
    return false;
  }
  if (n == 2 && softKeys.menu) {
    showMenu();
    return true;
  }
  const int index = n == 1 ? softKeys.left : n == 2 ? softKeys.right : -1;
  if (index < 0)
    return false;
  runTask(taskInside(doBindings[size_t(index)].element, context));
  return true;
}

} // namespace tessera::wml::agent

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

// The user agent's side of WMLScript: a go to a unit's function calls it,
// its dialogs become phone screens, and its navigation is taken when the
// call has ended, as a phone's browser does.
namespace tessera::wml::agent {

using script::Interpreter;

namespace {

bool waitsFor(const std::unique_ptr<ScriptRun>& run, script::DialogRequest::Kind kind) {
  return run && run->machine.state() == Interpreter::State::WaitingForDialog &&
         run->machine.dialog().kind == kind;
}

} // namespace

QDir UserAgent::siteRoot() const {
  return documentPath.isEmpty() ? QDir::current() : QFileInfo(documentPath).absoluteDir();
}

void UserAgent::callScript(const WmlTask& task, const Destination& destination) {
  const QString label = destination.path + u'#' + urlUnescape(destination.fragment);
  const auto fail = [this, &label](const QString& why) {
    showError({QStringLiteral("Script error"), label, why});
  };
  const script::UrlCallParse call = script::parseUrlCall(urlUnescape(destination.fragment));
  if (!call.call) {
    fail(QStringLiteral("not a call: ") + call.error);
    return;
  }
  const QString path = resolvedPath(destination.path);
  const QDir root = siteRoot();
  if (!QDir::cleanPath(path).startsWith(QDir::cleanPath(root.absolutePath()) + u'/')) {
    fail(QStringLiteral("only units in the deck's folder can be called"));
    return;
  }
  const script::LoadedUnit loaded = scripts ? scripts(path) : script::loadScriptFile(path);
  if (!loaded.unit) {
    fail(loaded.error);
    return;
  }
  const QString deckFile = deckPath.isEmpty() ? documentPath : deckPath;
  QUrl referer = siteUrl(root, deckFile);
  referer.setFragment(shownCardId);
  const QUrl unitUrl = siteUrl(root, path);
  if (!script::accessAllowed(*loaded.unit, unitUrl, referer)) {
    fail(QStringLiteral("access violation: the unit's access pragma does not let %1 call it")
             .arg(referer.toString(QUrl::RemoveFragment)));
    return;
  }
  // The go's own variables are set before the call, as for any go.
  applySetvars(task.setvars);
  scriptRun = std::make_unique<ScriptRun>(root, context, referer, scripts, [this] {
    // WMLBrowser.newContext: variables and history go, the card stays.
    context.clear();
    historyStack.clear();
    if (card)
      historyStack.push_back({deckPath, shownCardId, shownCardIndex});
  });
  scriptRun->label = label;
  if (!scriptRun->machine.start(loaded.unit, unitUrl, call.call->function, call.call->arguments,
                                referer)) {
    afterScriptStep();
    return;
  }
  continueScript();
}

bool UserAgent::scriptRunning() const {
  return scriptRun && scriptRun->machine.state() == Interpreter::State::Running;
}

void UserAgent::continueScript(qint64 instructions) {
  if (!scriptRun)
    return;
  const auto state = scriptRun->machine.state();
  if (state != Interpreter::State::Ready && state != Interpreter::State::Running)
    return;
  scriptRun->machine.run(instructions);
  afterScriptStep();
}

void UserAgent::afterScriptStep() {
  switch (scriptRun->machine.state()) {
  case Interpreter::State::Ready:
  case Interpreter::State::Running: return; // the next slice follows
  case Interpreter::State::WaitingForDialog: showDialog(); return;
  case Interpreter::State::Finished:
  case Interpreter::State::Failed: endScript(); return;
  }
}

void UserAgent::showDialog() {
  const script::DialogRequest& dialog = scriptRun->machine.dialog();
  screen = Screen();
  screen.kind = Screen::Kind::Dialog;
  for (const QString& line : dialog.message.split(u'\n'))
    screen.lines.push_back(plainLine(line));
  switch (dialog.kind) {
  case script::DialogRequest::Kind::Prompt: {
    promptInput = dialog.defaultInput;
    screen.lines.push_back(inputLine(promptInput));
    screen.leftKey = QStringLiteral("OK");
    break;
  }
  case script::DialogRequest::Kind::Confirm:
    screen.leftKey = dialog.okLabel.isEmpty() ? QStringLiteral("OK") : dialog.okLabel;
    screen.rightKey = dialog.cancelLabel.isEmpty() ? QStringLiteral("Cancel") : dialog.cancelLabel;
    break;
  case script::DialogRequest::Kind::Alert: screen.leftKey = QStringLiteral("OK"); break;
  }
}

void UserAgent::setPromptText(const QString& text) {
  if (!promptWaiting())
    return;
  promptInput = text;
  for (ScreenLine& line : screen.lines)
    for (ScreenRun& run : line.runs)
      if (run.kind == ScreenRun::Kind::Input)
        run.text = text;
}

bool UserAgent::promptWaiting() const {
  return waitsFor(scriptRun, script::DialogRequest::Kind::Prompt);
}

bool UserAgent::answerPrompt(const QString& text) {
  if (!waitsFor(scriptRun, script::DialogRequest::Kind::Prompt))
    return false;
  scriptRun->machine.answerPrompt(text);
  continueScript();
  return true;
}

bool UserAgent::answerConfirm(bool ok) {
  if (!waitsFor(scriptRun, script::DialogRequest::Kind::Confirm))
    return false;
  scriptRun->machine.answerConfirm(ok);
  continueScript();
  return true;
}

bool UserAgent::dismissAlert() {
  if (!waitsFor(scriptRun, script::DialogRequest::Kind::Alert))
    return false;
  scriptRun->machine.dismissAlert();
  continueScript();
  return true;
}

// The call is over: an error shows the phone's error screen; otherwise the
// last go or prev is taken, a refresh redraws, and with neither the card
// shows again with the variables as the script left them.
void UserAgent::endScript() {
  const std::unique_ptr<ScriptRun> run = std::move(scriptRun);
  promptInput.clear();
  const Interpreter& machine = run->machine;
  if (machine.state() == Interpreter::State::Failed) {
    const QString where = machine.errorFunction().isEmpty()
                              ? run->label
                              : run->label.section(u'#', 0, 0) + u'#' + machine.errorFunction();
    showError(
        {QStringLiteral("Script error"), where,
         script::fatalErrorName(machine.error()) + QStringLiteral(": ") + machine.errorMessage()});
    return;
  }
  const script::PendingNavigation navigation = machine.navigation();
  switch (navigation.kind) {
  case script::PendingNavigation::Kind::Go: {
    WmlTask go;
    go.kind = WmlTask::Kind::Go;
    go.href = navigation.url;
    runTask(go);
    return;
  }
  case script::PendingNavigation::Kind::Prev: prev({}); return;
  case script::PendingNavigation::Kind::None: break;
  }
  if (card)
    display();
}

} // namespace tessera::wml::agent
