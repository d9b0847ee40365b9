#include "deck/DeckChecking.h"

#include "deck/DeckCheckRunner.h"
#include "deck/DeckMenu.h"
#include "deck/DeckSnapshot.h"
#include "deck/ProblemsDock.h"
#include "deck/ProblemsList.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QAction>
#include <QMainWindow>
#include <QTextBlock>

namespace tessera {

DeckChecking::DeckChecking(QMainWindow& window, SourceEditor& editor, DeckMenu& menu,
                           std::function<QString()> documentPath)
    : QObject(&window), editor_(editor), menu_(menu), dock_(new ProblemsDock(&window)),
      runner_(
          new DeckCheckRunner([this] { return takeSnapshot(editor_.textDocument(), revision_); },
                              std::move(documentPath), this)) {
  window.addDockWidget(Qt::BottomDockWidgetArea, dock_);
  dock_->hide();
  runner_->setCurrentRevision([this] { return revision_; });

  connect(menu_.checkDeckAction(), &QAction::triggered, this, &DeckChecking::checkDeck);
  connect(menu_.liveCheckAction(), &QAction::toggled, this, [this](bool on) {
    if (on)
      runner_->scheduleAfterPause();
    else
      runner_->cancelScheduled();
  });
  connect(editor_.document(), &QTextDocument::contentsChange, this, [this] {
    ++revision_;
    if (menu_.liveCheckAction()->isChecked())
      runner_->scheduleAfterPause();
  });
  connect(runner_, &DeckCheckRunner::checked, this, &DeckChecking::showFindings);
  connect(dock_, &ProblemsDock::problemChosen, this, &DeckChecking::goTo);
}

void DeckChecking::documentOpened() {
  if (menu_.liveCheckAction()->isChecked())
    runner_->checkNow();
}

void DeckChecking::checkDeck() {
  dock_->show();
  dock_->raise();
  runner_->checkNow();
}

void DeckChecking::showFindings(const QList<wml::Finding>& findings, int revision) {
  last_ = findings;
  if (dock_->isVisible())
    dock_->list()->showFindings(findings);
  emit findingsChanged(findings, revision);
}

void DeckChecking::goTo(int line, int column) {
  const QTextBlock block = editor_.document()->findBlockByNumber(line - 1);
  if (!block.isValid())
    return;
  QTextCursor cursor(block);
  cursor.setPosition(block.position() + utf16Offset(block.text(), column));
  editor_.setTextCursor(cursor);
  editor_.ensureCursorVisible();
  editor_.setFocus(Qt::OtherFocusReason);
}

} // namespace tessera
