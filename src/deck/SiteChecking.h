#pragma once

#include "deck/SiteCheckRun.h"
#include "wml/Positions.h"

#include <QFutureWatcher>
#include <QObject>

#include <functional>

class QMainWindow;

namespace tessera {

class DeckChecking;
class DeckMenu;
class Prompts;
class Shell;
class TextDocument;
struct ParsedRevision;

// "Check Site..." in the Deck menu: checks the folder of the document's file
// (or one the user picks when the document has none) as one site on a
// worker, the document's text as it is in the editor standing for its file,
// and shows the findings in the problems dock grouped by file with a
// summary. Choosing a finding of the document moves the caret there; one of
// another file opens that file at its line and column in a new instance of
// the program, as "New window" starts one.
//
// The checked site is kept: the live check of a document inside its folder
// (the one checked, or another of its files opened afterwards) runs the
// rules between files too, against the other files as the site check read
// them, so its marks show the findings other files cause. While the list
// shows the site, the document's group follows each such check, with the
// counts and the summary; the other groups stay until the next Check Site.
class SiteChecking : public QObject {
  Q_OBJECT
public:
  struct Settings {
    std::function<int()> budget;   // the chosen phone budget; 0: none
    std::function<QSize()> screen; // the chosen phone's screen
    QString program;               // what a new instance runs
  };

  SiteChecking(QMainWindow& window, TextDocument& document, DeckMenu& menu, DeckChecking& checking,
               Prompts& prompts, Shell& shell, Settings settings);
  ~SiteChecking() override;

  // Checks `folder` as a site; the result is shown when it is done.
  void checkFolder(const QString& folder);
  bool running() const { return watcher_.isRunning(); }
  const SiteCheckResult& lastResult() const { return last_; }

  // The arguments that open `path` at a line and column in a new instance.
  static QStringList openAtArguments(const QString& path, LineColumn place);

signals:
  void finished();

private:
  void checkSite();
  void show();
  void openFinding(const QString& path, LineColumn place);
  void followLiveCheck(const std::shared_ptr<const ParsedRevision>& parsed);
  void showSummary();

  QMainWindow& window_;
  TextDocument& document_;
  DeckChecking& checking_;
  Prompts& prompts_;
  Shell& shell_;
  Settings settings_;
  QFutureWatcher<SiteCheckResult> watcher_;
  SiteCheckResult last_;
};

} // namespace tessera
