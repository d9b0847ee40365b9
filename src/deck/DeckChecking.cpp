#include "deck/DeckChecking.h"

#include "deck/DeckMenu.h"
#include "deck/DeckService.h"
#include "deck/ProblemsDock.h"
#include "deck/ProblemsList.h"
#include "editor/EditorView.h"
#include "editor/TextDocument.h"

#include <QAction>
#include <QMainWindow>

namespace tessera {

DeckChecking::DeckChecking(QMainWindow& window, EditorView& view, DeckService& service,
                           DeckMenu& menu)
    : QObject(&window), view_(view), service_(service), menu_(menu),
      dock_(new ProblemsDock(&window)) {
  window.addDockWidget(Qt::BottomDockWidgetArea, dock_);
  dock_->hide();
  service_.setCheckWhileTyping(menu_.liveCheckAction()->isChecked());

  connect(menu_.checkDeckAction(), &QAction::triggered, this, &DeckChecking::checkDeck);
  connect(menu_.liveCheckAction(), &QAction::toggled, this, [this](bool on) {
    service_.setCheckWhileTyping(on);
    if (on)
      service_.refreshNow(true);
  });
  connect(&service_, &DeckService::published, this, &DeckChecking::showFindings);
  connect(dock_, &ProblemsDock::problemChosen, this, &DeckChecking::goTo);
}

void DeckChecking::documentOpened() {
  // The last deck's findings say nothing of this one, even before (or
  // without) its first check. A site check's list stays: it holds the
  // opened file's group too, which follows its checks.
  if (!last_.isEmpty()) {
    last_.clear();
    if (dock_->isVisible() && !dock_->list()->showsSite())
      dock_->list()->showFindings(last_);
    emit findingsChanged(last_, 0);
  }
  service_.refreshNow(menu_.liveCheckAction()->isChecked());
}

void DeckChecking::checkDeck() {
  // Back from a site check's list to this deck's.
  if (dock_->list()->showsSite()) {
    dock_->showSummary(QString());
    dock_->list()->showFindings(last_);
  }
  dock_->show();
  dock_->raise();
  service_.refreshNow(true);
}

void DeckChecking::showFindings(const std::shared_ptr<const ParsedRevision>& parsed) {
  if (!parsed->checked)
    return;
  last_ = parsed->findings;
  // A site check's list stays until the next check asked for by hand.
  if (dock_->isVisible() && !dock_->list()->showsSite())
    dock_->list()->showFindings(last_);
  emit findingsChanged(last_, parsed->revision);
}

void DeckChecking::goTo(LineColumn place) {
  if (place.line < 1 || place.line > view_.textDocument().lineCount())
    return;
  view_.setSelection(view_.textDocument().positionAt(place), 0);
  view_.ensureCaretVisible();
  view_.refreshStatus();
  view_.focusEditor();
}

} // namespace tessera
