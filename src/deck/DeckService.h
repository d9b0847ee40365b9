#pragma once

#include "wml/Finding.h"
#include "wml/agent/PhoneScreens.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace tessera {

class TextDocument;
struct CheckedSite;

// One revision of the document, parsed once: what every deck feature reads.
// Immutable once published.
struct ParsedRevision {
  quint64 revision = 0;
  QString text;     // the snapshot's text ('\n' breaks)
  QString filePath; // the document's file then; empty when never saved
  // A WMLScript unit (".wmls" by its file name): compiled by the script
  // compiler, whose findings are its check; it has no deck.
  bool script = false;
  std::shared_ptr<const wml::agent::DeckDocument> deck; // null for a script
  // Where each card starts, for the preview's following of the caret:
  // found on the worker, since it walks the tree and indexes the lines.
  std::vector<wml::agent::CardStart> cardStarts;
  // Filled when the run was asked to check (checking while typing, Check
  // Deck): the checker's findings, the over-budget warning among them.
  bool checked = false;
  QList<wml::Finding> findings;
  int compiledBytes = -1; // negative when the deck (or script) cannot be compiled
  // The checked site the run knew of, and the document's path inside it
  // when it lies there: its findings then hold those between files too.
  std::shared_ptr<const CheckedSite> site;
  QString sitePath;
};

// Parses the document once per revision: after a pause in typing, after an
// open, or when a feature asks for it now. One run at a time on the thread
// pool, over the document model's snapshot; the checker and the compiler
// work on the same tree in the same run, and the result is published only
// while it is still the document's revision (a stale one is dropped, and a
// run asked for meanwhile starts with a newer snapshot). The checker, error
// marks, size meter and preview all read what it publishes; nothing else
// parses the document.
class DeckService : public QObject {
  Q_OBJECT
public:
  explicit DeckService(TextDocument& document, QObject* parent = nullptr);
  ~DeckService() override;

  static constexpr int kPauseMs = 400;

  // Whether runs after a pause check the deck too (checking while typing).
  void setCheckWhileTyping(bool on);
  bool checksWhileTyping() const { return checkWhileTyping_; }
  // The phone budget in bytes (0: none) for the over-budget warning; the
  // latest checked revision is published again with the warning as it now
  // stands.
  void setBudget(int bytes);
  // The site of the last site check (null: none). A document inside its
  // folder is checked with the rules between files too, against the other
  // files as that check read them, the document's text standing for its own.
  void setCheckedSite(std::shared_ptr<const CheckedSite> site);
  const std::shared_ptr<const CheckedSite>& checkedSite() const { return site_; }
  // Parses the document now (and checks it when `check`), unless the
  // latest result is of this revision and already checked if asked.
  void refreshNow(bool check = false);
  // Forgets a run waiting for the pause to end.
  void cancelScheduled() { pause_.stop(); }
  bool busy() const { return running_; }

  // The latest published revision (null before the first); may be older
  // than the document.
  std::shared_ptr<const ParsedRevision> latest() const { return latest_; }
  // Whether `latest()` is of the document's revision and file name now (a
  // deck saved as a script is read anew).
  bool upToDate() const;

signals:
  // A run ended and its revision is still the document's.
  void published(std::shared_ptr<const tessera::ParsedRevision> revision);

private:
  void edited();
  void start();
  void finish(std::shared_ptr<const ParsedRevision> result);

  TextDocument& document_;
  QTimer pause_;
  std::shared_ptr<const ParsedRevision> latest_;
  bool checkWhileTyping_ = true;
  bool running_ = false;
  bool pending_ = false;
  bool pendingCheck_ = false;
  bool checkNext_ = false;
  quint64 runningRevision_ = 0;
  QString runningPath_;
  bool runningCheck_ = false;
  int budget_ = 0;
  std::shared_ptr<const CheckedSite> site_;
  std::shared_ptr<const CheckedSite> runningSite_;
};

} // namespace tessera
