#include "deck/SiteChecking.h"

#include "deck/DeckChecking.h"
#include "deck/DeckMenu.h"
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
}

SiteChecking::~SiteChecking() { watcher_.waitForFinished(); }

QStringList SiteChecking::openAtArguments(const QString& path, int line, int column) {
  return {QStringLiteral("--line"), QString::number(line), QStringLiteral("--column"),
          QString::number(column), path};
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
  if (!last_.error.isEmpty()) {
    dock->list()->showSiteFindings(last_.folder, {});
    dock->showSummary(QStringLiteral("%1: %2").arg(last_.folder, last_.error));
  } else {
    dock->list()->showSiteFindings(last_.folder, last_.findings);
    dock->showSummary(QStringLiteral("%1: %2").arg(last_.folder, last_.summary()));
  }
  emit finished();
}

void SiteChecking::openFinding(const QString& path, int line, int column) {
  const QString edited = document_.filePath();
  if (!edited.isEmpty() &&
      QFileInfo(edited).absoluteFilePath() == QFileInfo(path).absoluteFilePath()) {
    checking_.goTo(line, column);
    return;
  }
  if (!shell_.startProgram(settings_.program, openAtArguments(path, line, column)))
    prompts_.error(&window_, DocumentCommands::cannotStartText(settings_.program));
}

} // namespace tessera
