#include "wml/agent/UserAgent.h"

#include "wml/xml/XmlNodes.h"

#include <QDir>
#include <QFileInfo>

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
