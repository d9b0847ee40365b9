#include "app/Backup.h"
#include "app/EncodingMenus.h"
#include "app/MainWindow.h"
#include "app/NoticeBar.h"
#include "app/StatusLine.h"
#include "deck/DeckChecking.h"
#include "deck/DeckPreview.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "tools/ToolsPanel.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

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
    deckChecking_->documentOpened();
    deckPreview_->documentOpened();
  });
  connect(action(MainAction::NewWindow), &QAction::triggered, this,
          [commands] { commands->newWindow(); });
  connect(action(MainAction::Open), &QAction::triggered, this, [this, commands] {
    commands->open();
    deckChecking_->documentOpened();
    deckPreview_->documentOpened();
  });
  connect(action(MainAction::Save), &QAction::triggered, this, [this, commands] {
    commands->save();
    showFileFormat(); // the file may exist only now
  });
  files_.setNoticeObserver([this](const QString& notice) { noticeBar_->showNotice(notice); });
  connect(document_, &TextDocument::fileChanged, this, &MainWindow::showFileFormat);
  encodingMenus_->reopenAs = [this, commands](const FileEncoding& encoding) {
    commands->reopenWithEncoding(encoding);
    deckChecking_->documentOpened();
    deckPreview_->documentOpened();
  };
  encodingMenus_->saveAs = [this](const FileEncoding& encoding) {
    // The same charset again keeps its byte-order mark as it is.
    if (!encoding.sameCharset(document_->encoding()))
      files_.adoptEncoding(encoding);
  };
  encodingMenus_->breakLinesWith = [this](LineBreakStyle breaks) {
    document_->setLineBreakStyle(breaks);
  };
  // Whatever was chosen, the checks then show what the document has.
  for (QMenu* menu : {encodingMenus_->reopenMenu(), encodingMenus_->saveMenu()})
    connect(menu, &QMenu::triggered, this, &MainWindow::showFileFormat, Qt::QueuedConnection);
  showFileFormat();

  PrintCommand* print = printCommand_.get();
  connect(action(MainAction::Print), &QAction::triggered, this, [print] { print->run(); });
}

void MainWindow::showFileFormat() {
  const FileEncoding& encoding = document_->encoding();
  const LineBreakStyle breaks = document_->lineBreakStyle();
  statusLine_->showFileFormat(fileFormatText(encoding, breaks));
  // A decompiled deck's path names the source file it would be saved as,
  // which need not exist yet: there is nothing to read again.
  encodingMenus_->showFormat(encoding, breaks, QFileInfo(document_->filePath()).isFile());
}

} // namespace tessera
