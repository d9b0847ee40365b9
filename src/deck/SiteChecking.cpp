#include "deck/SiteChecking.h"

#include "deck/DeckChecking.h"
#include "deck/DeckMenu.h"
#include "deck/DeckService.h"
#include "deck/ProblemsDock.h"
#include "deck/ProblemsList.h"
#include "document/DocumentCommands.h"
#include "editor/TextDocument.h"
#include "platform/Desktop.h"
#include "platform/Prompts.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>
#include <QtConcurrent>

namespace tessera {

SiteChecking::SiteChecking(QMainWindow& window, TextDocument& document, DeckMenu& menu,
                           DeckChecking& checking, Prompts& prompts, Shell& shell,
                           Settings settings)
    : QObject(&window), window_(window), document_(document), checking_(checking),
      prompts_(prompts), shell_(shell), settings_(std::move(settings)) {
  connect(menu.checkSiteAction(), &QAction::triggered, this, &SiteChecking::checkSite);
  connect(&watcher_, &QFutureWatcher<SiteCheckResult>::finished, this, &SiteChecking::show);
  connect(checking_.dock(), &ProblemsDock::fileProblemChosen, this, &SiteChecking::openFinding);
  connect(&checking_.service(), &DeckService::published, this, &SiteChecking::followLiveCheck);
}

SiteChecking::~SiteChecking() { watcher_.waitForFinished(); }

QStringList SiteChecking::openAtArguments(const QString& path, LineColumn place) {
  return {QStringLiteral("--line"), QString::number(place.line), QStringLiteral("--column"),
          QString::number(place.column), path};
}

void SiteChecking::checkSite() {
  const QString file = document_.filePath();
  QString folder = file.isEmpty() ? QString() : QFileInfo(file).absolutePath();
  if (folder.isEmpty())
    folder = prompts_.folderName(&window_, QStringLiteral("Check Site"));
  if (!folder.isEmpty())
    checkFolder(folder);
}

void SiteChecking::checkFolder(const QString& folder) {
  if (running())
    return; // the one under way reports first
  SiteCheckRequest request;
  request.folder = folder;
  request.budget = settings_.budget ? settings_.budget() : 0;
  request.options.screen = settings_.screen ? settings_.screen() : QSize();
  request.decoderProgram = settings_.program;
  // The text as it is in the editor, taken here on the main thread; the
  // files are read on the worker.
  const TextSnapshot snapshot = document_.snapshot();
  if (!snapshot.filePath.isEmpty())
    request.unsavedTexts.insert(QFileInfo(snapshot.filePath).absoluteFilePath(), snapshot.text);
  window_.statusBar()->showMessage(QStringLiteral("Checking the site in %1...").arg(folder));
  watcher_.setFuture(QtConcurrent::run([request] { return checkSiteFolder(request); }));
}

void SiteChecking::show() {
  last_ = watcher_.result();
  window_.statusBar()->clearMessage();
  ProblemsDock* dock = checking_.dock();
  dock->show();
  dock->raise();
  dock->list()->showSiteFindings(last_.folder, last_.findings);
  showSummary();
  // The live check of the document follows this site from now on.
  checking_.service().setCheckedSite(last_.checked);
  emit finished();
}

void SiteChecking::showSummary() {
  checking_.dock()->showSummary(QStringLiteral("%1: %2").arg(
      last_.folder, last_.error.isEmpty() ? last_.summary() : last_.error));
}

void SiteChecking::followLiveCheck(const std::shared_ptr<const ParsedRevision>& parsed) {
  // Only a check that knew of this very site and of the document in it: an
  // older run's result goes when the newer one comes.
  if (!parsed->checked || !parsed->site || parsed->site != last_.checked ||
      parsed->sitePath.isEmpty())
    return;
  const QString& path = parsed->sitePath;
  last_.findings.removeIf(
      [&path](const wml::site::SiteFinding& found) { return found.path == path; });
  for (const wml::Finding& finding : parsed->findings)
    last_.findings.append({path, finding});
  wml::site::sortSiteFindings(last_.findings);
  ProblemsList* list = checking_.dock()->list();
  if (!list->showsSite())
    return;
  list->replaceSiteGroup(path, parsed->findings);
  showSummary();
}

void SiteChecking::openFinding(const QString& path, LineColumn place) {
  const QString edited = document_.filePath();
  if (!edited.isEmpty() &&
      QFileInfo(edited).absoluteFilePath() == QFileInfo(path).absoluteFilePath()) {
    checking_.goTo(place);
    return;
  }
  if (!shell_.startProgram(settings_.program, openAtArguments(path, place)))
    prompts_.error(&window_, DocumentCommands::cannotStartText(settings_.program));
}

} // namespace tessera
