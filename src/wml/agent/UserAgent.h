#pragma once

#include "wml/agent/CardBindings.h"
#include "wml/agent/CardLayout.h"
#include "wml/agent/DeckDocument.h"
#include "wml/agent/ScreenModel.h"
#include "wml/agent/ScriptCalls.h"
#include "wml/agent/WmlTask.h"
#include "wml/agent/WmlVariables.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tessera::wml::agent {

// Time for the card timers, in tenths of a second; tests inject their own.
class AgentClock {
public:
  virtual ~AgentClock() = default;
  virtual qint64 nowTenths() const = 0;
};

// Reads a deck file beside the document (its path resolved against the
// current deck's); nullopt when there is none.
using DeckLoader = std::function<std::optional<QString>(const QString& path)>;

struct HistoryEntry {
  QString deckPath; // empty: the document itself
  QString cardId;
  int cardIndex = 0; // for a card without an id
};

// A WML 1.1 browser over the editor's deck: cards, tasks, intrinsic events,
// history, variables, timers, inputs and lists. Everything the phone shows
// is the current Screen; what leaves the preview becomes a task screen.
class UserAgent {
public:
  UserAgent(const AgentClock& clock, DeckLoader loader = {});
  ~UserAgent();

  // A fresh start on the document's deck (a new context), entering the
  // given card, or the first.
  void openDeck(const QString& text, const QString& documentPath, const QString& cardId = {});
  void openDeck(std::shared_ptr<const DeckDocument> parsed, const QString& documentPath,
                const QString& cardId = {});
  // The document's text changed: keeps the variables and shows the given
  // card (the history starts afresh from it) or the current one (the history
  // is kept) as it reads now.
  void updateDeck(const QString& text, const QString& cardId = {});
  // The same with the text already parsed (on a worker thread).
  void updateDeck(std::shared_ptr<const DeckDocument> parsed, const QString& cardId = {});
  // Shows a card of the current deck directly, as following the caret does;
  // the history starts afresh from it.
  void showCard(const QString& cardId);

  QString renderedText() const { return screenText(screen); }
  const Screen& currentScreen() const { return screen; }
  const WmlVariables& variables() const { return context; }
  const std::vector<HistoryEntry>& history() const { return historyStack; }
  QStringList historyLabels() const;
  // Lines for the deck's box: the deck's path, then its head's access
  // control and meta data (or that it has none).
  QStringList deckInfo() const;
  // The message of the last refused entry or failed action.
  QString lastMessage() const { return message; }

  // Scripts: a go to `unit.wmls#f(args)` loads the unit beside the deck
  // through this (loadScriptFile when none is set) and calls f.
  void setScriptLoader(ScriptLoader scriptLoader) { scripts = std::move(scriptLoader); }
  // A call runs in slices of instructions so the window stays responsive;
  // the first slice runs with the go. True while more are to run.
  bool scriptRunning() const;
  // Runs the next slice (0: to the end or the next dialog).
  void continueScript(qint64 instructions = kScriptSlice);
  static constexpr qint64 kScriptSlice = 200'000;
  // A waiting Dialogs.prompt, confirm or alert, shown as a Dialog screen.
  bool answerPrompt(const QString& text);
  bool answerConfirm(bool ok);
  bool dismissAlert();
  bool promptWaiting() const;
  // The text a waiting prompt holds (its default until typed over).
  QString promptText() const { return promptInput; }
  void setPromptText(const QString& text);

  bool followLink(int n);
  bool pressSoftKey(int n);
  void back();
  bool setInput(const QString& name, const QString& value);
  // Why the input `name` refuses `next` typed after `entered`; empty when
  // the phone's entry takes it.
  QString typedRefusal(const QString& name, const QString& entered, QChar next) const;
  bool pick(const QString& selectName, int option);
  void fireTimer();
  // Runs the timer's expiry when the clock says it is due.
  bool checkTimer();
  // Tenths left on the shown card's timer; -1 when none runs.
  qint64 timerRemaining() const;

  // For the window: the shown card's inputs and lists, and their rules.
  const CardLayout& layout() const { return cardLayout; }
  QString inputRule(const QString& name) const;
  QStringList optionLabels(const QString& selectName) const;
  std::vector<int> chosenOptions(const QString& selectName) const;
  bool isMultiple(const QString& selectName) const;
  bool hasInput(const QString& name) const;
  bool inputIsPassword(const QString& name) const;
  // An input's or list's title attribute, for its edit or list screen.
  QString controlTitle(const QString& name) const;
  // Line and column of the shown card's start tag in its deck, 0 when none.
  wml::LineColumn cardStart() const;
  bool showsDocumentDeck() const { return deckPath.isEmpty(); }

private:
  enum class Direction { Forward, Backward, Redisplay };

  void runTask(const WmlTask& task);
  void go(const WmlTask& task);
  void prev(const NameValueList& setvars);
  void refresh(const NameValueList& setvars);
  void enterCard(Direction direction);
  void display();
  void showError(const QStringList& lines);
  void showOutside(const QStringList& lines);
  void callScript(const WmlTask& task, const Destination& destination);
  void afterScriptStep();
  void showDialog();
  void endScript();
  QDir siteRoot() const;
  void applySetvars(const NameValueList& setvars);
  void leaveCard();
  void newContext();
  bool switchDeck(const QString& path);
  QString resolvedPath(const QString& relative) const;
  xmlNode* cardById(const QString& id) const;
  xmlNode* cardAt(const HistoryEntry& entry) const;
  xmlNode* deckTemplate() const;
  xmlNode* findSelect(const QString& name) const;
  void startTimer();
  void expireTimer();
  void relayout();
  void showMenu();
  void setCard(xmlNode* newCard);
  // No card is shown: nothing may keep pointing into a tree about to go.
  void forgetCard();
  enum class History { ReplaceLast, StartAfresh };
  void showCardNode(xmlNode* target, const QString& wantedId, History history);
  std::shared_ptr<const DeckDocument> deckAt(const QString& path);

  const AgentClock& clock;
  DeckLoader loader;
  QString documentPath;
  std::shared_ptr<const DeckDocument> documentDeck;
  QHash<QString, std::shared_ptr<const DeckDocument>> loadedDecks;

  std::shared_ptr<const DeckDocument> deck; // the deck being shown
  QString deckPath;                         // its path, empty for the document
  xmlNode* card = nullptr;

  WmlVariables context;
  std::vector<HistoryEntry> historyStack;
  CardLayout cardLayout;
  std::vector<DoBinding> doBindings;
  SoftKeys softKeys;
  Screen screen;
  QString message;

  QString shownCardId; // survives a deck that stops being well-formed
  int shownCardIndex = 0;

  QString timerVariable;
  qint64 timerStart = 0;
  qint64 timerLength = 0;
  bool timerRunning = false;

  int taskDepth = 0; // guards against events that lead on forever

  ScriptLoader scripts;
  std::unique_ptr<ScriptRun> scriptRun; // a call not yet ended
  QString promptInput;
};

} // namespace tessera::wml::agent
