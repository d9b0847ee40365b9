#include "app/Backup.h"
#include "app/MainWindow.h"
#include "deck/DeckChecking.h"
#include "deck/DeckPreview.h"
#include "editor/SourceEditor.h"
#include "tools/ToolsPanel.h"

#include <QAction>

// The File menu's document commands, printing and the automatic backup,
// wired to their menu items.
namespace tessera {

void MainWindow::createDocumentCommands() {
  documentCommands_ = std::make_unique<DocumentCommands>(*document_, *editor_, files_,
                                                          services_.prompts, services_.shell, this);
  documentCommands_->setToolsReset([this] {
    toolsPanel_->setCurrentWidget(toolsPanel_->page(ToolsPanel::GeneralTools));
    toolsPanel_->resetForNewDocument();
  });
  printCommand_ = std::make_unique<PrintCommand>(*editor_, services_.prompts, this);
  backup_ = new Backup(action(MainAction::BackupSaving), files_, services_.prompts,
                       Backup::folderFor(programFolder()), this);
  backup_->setParent(this);

  DocumentCommands* commands = documentCommands_.get();
  connect(action(MainAction::NewFile), &QAction::triggered, this, [this, commands] {
    commands->newFile();
    deckPreview_->documentOpened();
  });
  connect(action(MainAction::NewWindow), &QAction::triggered, this,
          [commands] { commands->newWindow(); });
  connect(action(MainAction::Open), &QAction::triggered, this, [this, commands] {
    commands->open();
    deckChecking_->documentOpened();
    deckPreview_->documentOpened();
  });
  connect(action(MainAction::Save), &QAction::triggered, this, [commands] { commands->save(); });
  PrintCommand* print = printCommand_.get();
  connect(action(MainAction::Print), &QAction::triggered, this, [print] { print->run(); });
}

} // namespace tessera
