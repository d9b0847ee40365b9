#include "deck/DeckCheckRunner.h"

#include "wml/CompiledBudget.h"
#include "wml/DeckChecker.h"
#include "wml/DeckCompiler.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

namespace tessera {

DeckCheckRunner::DeckCheckRunner(SnapshotSource snapshot, PathSource documentPath, QObject* parent)
    : QObject(parent), snapshot_(std::move(snapshot)), documentPath_(std::move(documentPath)) {
  pause_.setSingleShot(true);
  pause_.setInterval(kPauseMs);
  connect(&pause_, &QTimer::timeout, this, &DeckCheckRunner::checkNow);
}

DeckCheckRunner::~DeckCheckRunner() = default;

void DeckCheckRunner::scheduleAfterPause() { pause_.start(); }

void DeckCheckRunner::checkNow() {
  pause_.stop();
  if (running_) {
    pending_ = true; // served when the busy run ends, with a newer snapshot
    return;
  }
  start();
}

void DeckCheckRunner::start() {
  running_ = true;
  pending_ = false;
  DeckSnapshot snapshot = snapshot_();
  const QString path = documentPath_ ? documentPath_() : QString();
  QPointer<DeckCheckRunner> self(this);
  QThreadPool::globalInstance()->start(
      [self, snapshot = std::move(snapshot), path, budget = budget_] {
        // One parse serves the checker and the compiler.
        const wml::ParsedDeck deck = wml::parseDeck(snapshot.text);
        QList<wml::Finding> findings = wml::checkParsedDeck(deck, {path});
        const wbxml::CompiledDeck compiled = wbxml::compileParsedDeck(deck, snapshot.text);
        const int compiledBytes = compiled.wellFormed ? int(compiled.bytes.size()) : -1;
        if (const auto overBudget = wml::budgetFinding(deck, compiledBytes, budget)) {
          findings.append(*overBudget);
          wml::sortByPosition(findings);
        }
        QCoreApplication* application = QCoreApplication::instance();
        if (!application)
          return;
        QMetaObject::invokeMethod(
            application,
            [self, findings = std::move(findings), compiledBytes,
             revision = snapshot.revision]() mutable {
              if (self)
                self->finish(std::move(findings), compiledBytes, revision);
            },
            Qt::QueuedConnection);
      });
}

void DeckCheckRunner::finish(QList<wml::Finding> findings, int compiledBytes, int revision) {
  running_ = false;
  const bool current = !currentRevision_ || currentRevision_() == revision;
  if (pending_)
    start();
  if (!current)
    return;
  emit compiledSize(compiledBytes, revision);
  emit checked(findings, revision);
}

} // namespace tessera
