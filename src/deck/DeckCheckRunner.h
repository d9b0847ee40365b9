#pragma once

#include "wml/Finding.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace tessera {

// A snapshot of the deck to check: the text with '\n' line breaks and the
// document revision it was taken at.
struct DeckSnapshot {
  QString text;
  int revision = 0;
};

// Runs the checker on a worker thread over a snapshot, at most one run at a
// time. A request made while a run is busy waits for it and is served with a
// newer snapshot; a result older than the document is dropped, so the
// editor never waits and never shows stale findings.
class DeckCheckRunner : public QObject {
  Q_OBJECT
public:
  using SnapshotSource = std::function<DeckSnapshot()>;
  using PathSource = std::function<QString()>;

  DeckCheckRunner(SnapshotSource snapshot, PathSource documentPath, QObject* parent = nullptr);
  ~DeckCheckRunner() override;

  // Checks after the user has paused this long (checking while typing).
  static constexpr int kPauseMs = 400;
  // Restarts the pause; call on every edit.
  void scheduleAfterPause();
  // Forgets a check waiting for the pause to end.
  void cancelScheduled() { pause_.stop(); }
  // Takes a snapshot now and checks it.
  void checkNow();
  // The revision the document is at now (the source's answer).
  void setCurrentRevision(std::function<int()> revision) { currentRevision_ = std::move(revision); }
  bool busy() const { return running_; }
  // The phone budget in bytes (0: none): a compiled deck over it adds a
  // warning at the <wml> element to the run's findings.
  void setBudget(int bytes) { budget_ = bytes; }

signals:
  // A run ended with findings for the text at `revision`, still current.
  void checked(const QList<tessera::wml::Finding>& findings, int revision);
  // The same run's compiled size in bytes; negative when the deck is not
  // well-formed. Sent just before checked().
  void compiledSize(int bytes, int revision);

private:
  void start();
  void finish(QList<wml::Finding> findings, int compiledBytes, int revision);

  SnapshotSource snapshot_;
  PathSource documentPath_;
  std::function<int()> currentRevision_;
  QTimer pause_;
  bool running_ = false;
  bool pending_ = false;
  int budget_ = 0;
};

} // namespace tessera
