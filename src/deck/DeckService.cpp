#include "deck/DeckService.h"

#include "deck/SiteCheckRun.h"
#include "editor/TextDocument.h"
#include "wml/agent/DeckDocument.h"
#include "wml/check/CompiledBudget.h"
#include "wml/check/DeckChecker.h"
#include "wml/script/ScriptCompiler.h"
#include "wml/site/FileSummaries.h"
#include "wml/wbxml/DeckCompiler.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

namespace tessera {

namespace {

std::shared_ptr<const ParsedRevision> parseRevision(const TextSnapshot& snapshot, bool check,
                                                    int budget,
                                                    std::shared_ptr<const CheckedSite> site) {
  auto result = std::make_shared<ParsedRevision>();
  result->revision = snapshot.revision;
  result->text = snapshot.text;
  result->filePath = snapshot.filePath;
  if (site)
    result->sitePath = site->sitePathOf(snapshot.filePath);
  result->site = std::move(site);
  const bool inSite = !result->sitePath.isEmpty();
  if (wml::script::isScriptFileName(snapshot.filePath)) {
    // A WMLScript unit: its compiler is its checker, and compiling is cheap
    // enough to give its findings with every run.
    wml::script::ScriptCompileResult compiled = wml::script::compileScript(snapshot.text);
    result->script = true;
    result->compiledBytes = compiled.ok() ? int(compiled.bytecode.size()) : -1;
    result->checked = true;
    result->findings =
        inSite ? wml::site::checkFileInSite(result->site->site, result->site->options,
                                            wml::site::scriptSummary(result->sitePath, compiled))
               : std::move(compiled.findings);
    return result;
  }
  auto deck = std::make_shared<wml::agent::DeckDocument>(
      wml::agent::readParsedDeck(wml::parseDeck(snapshot.text)));
  const wml::wbxml::CompiledDeck compiled =
      wml::wbxml::compileParsedDeck(deck->parsed, snapshot.text);
  result->compiledBytes = compiled.ok ? int(compiled.bytes.size()) : -1;
  if (check) {
    result->checked = true;
    wml::check::CheckOptions options;
    options.documentPath = snapshot.filePath;
    // Inside a checked site its calls are judged by the site, as Check Site
    // judges them, from the units it has read.
    options.checkScriptCalls = !inSite;
    result->findings = wml::check::checkParsedDeck(deck->parsed, options);
    if (const auto over = wml::check::budgetFinding(deck->parsed, result->compiledBytes, budget)) {
      result->findings.append(*over);
      wml::sortByPosition(result->findings);
    }
    if (inSite)
      result->findings = wml::site::checkFileInSite(
          result->site->site, result->site->options,
          wml::site::deckSummary(result->sitePath, deck->parsed, std::move(result->findings)));
  }
  result->cardStarts = wml::agent::cardStarts(*deck);
  result->deck = std::move(deck);
  return result;
}

} // namespace

DeckService::DeckService(TextDocument& document, QObject* parent)
    : QObject(parent), document_(document) {
  pause_.setSingleShot(true);
  pause_.setInterval(kPauseMs);
  connect(&pause_, &QTimer::timeout, this, [this] { refreshNow(checkWhileTyping_); });
  connect(&document_, &TextDocument::changed, this, &DeckService::edited);
}

DeckService::~DeckService() = default;

void DeckService::setCheckWhileTyping(bool on) { checkWhileTyping_ = on; }

// The next check of the document knows of the site; a revision already
// checked is checked again when checking runs while typing, so its marks
// show the findings between files at once.
void DeckService::setCheckedSite(std::shared_ptr<const CheckedSite> site) {
  site_ = std::move(site);
  if (checkWhileTyping_ && latest_ && latest_->checked)
    refreshNow(true);
}

// The over-budget warning is the one finding that depends on the budget:
// the latest checked revision gets it anew without another parse.
void DeckService::setBudget(int bytes) {
  if (bytes == budget_)
    return;
  budget_ = bytes;
  if (!latest_ || !latest_->checked || !latest_->deck)
    return;
  auto updated = std::make_shared<ParsedRevision>(*latest_);
  updated->findings.removeIf(
      [](const wml::Finding& finding) { return finding.rule == QLatin1String("over-budget"); });
  if (const auto over =
          wml::check::budgetFinding(updated->deck->parsed, updated->compiledBytes, budget_)) {
    updated->findings.append(*over);
    wml::sortByPosition(updated->findings);
  }
  latest_ = std::move(updated);
  if (upToDate())
    emit published(latest_);
}

bool DeckService::upToDate() const {
  return latest_ && latest_->revision == document_.revision() &&
         latest_->filePath == document_.filePath();
}

void DeckService::edited() { pause_.start(); }

void DeckService::refreshNow(bool check) {
  pause_.stop();
  if (upToDate() && ((latest_->checked && latest_->site == site_) || !check)) {
    emit published(latest_);
    return;
  }
  if (running_) {
    // The busy run will publish this revision as asked: nothing to add.
    if (runningRevision_ == document_.revision() && runningPath_ == document_.filePath() &&
        ((runningCheck_ && runningSite_ == site_) || !check))
      return;
    // Served when the busy run ends, with a newer snapshot.
    pending_ = true;
    pendingCheck_ = pendingCheck_ || check;
    return;
  }
  checkNext_ = check;
  start();
}

void DeckService::start() {
  running_ = true;
  pending_ = false;
  pendingCheck_ = false;
  runningRevision_ = document_.revision();
  runningPath_ = document_.filePath();
  runningCheck_ = checkNext_;
  runningSite_ = site_;
  QPointer<DeckService> self(this);
  QThreadPool::globalInstance()->start(
      [self, snapshot = document_.snapshot(), check = checkNext_, budget = budget_, site = site_] {
        std::shared_ptr<const ParsedRevision> result = parseRevision(snapshot, check, budget, site);
        QCoreApplication* application = QCoreApplication::instance();
        if (!application)
          return;
        QMetaObject::invokeMethod(
            application,
            [self, result = std::move(result)]() mutable {
              if (self)
                self->finish(std::move(result));
            },
            Qt::QueuedConnection);
      });
}

void DeckService::finish(std::shared_ptr<const ParsedRevision> result) {
  running_ = false;
  const bool current =
      result->revision == document_.revision() && result->filePath == document_.filePath();
  if (pending_) {
    checkNext_ = pendingCheck_;
    start();
  }
  if (!current)
    return;
  latest_ = std::move(result);
  emit published(latest_);
}

} // namespace tessera
