#pragma once

#include "app/MainActions.h"
#include "document/DocumentCommands.h"
#include "document/DocumentFiles.h"
#include "document/PrintCommand.h"
#include "platform/Services.h"
#include "wml/Positions.h"

#include <QHash>
#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QMenu;
class QToolBar;

namespace tessera {

class Backup;
class CompiledDeckCommands;
class DeckChecking;
class DeckService;
class DeckPreview;
class DeckServe;
class SiteChecking;
class DeckMenu;
class EditingCommands;
class EncodingMenus;
class NoticeBar;
class ElementDialogs;
class SourceEditor;
class StatusLine;
class SyntaxColouring;
class TextDocument;
class ToolsPanel;

// The main window: menu bar, toolbar, element tools panel, source editor and
// status line. It owns the document and the view over it, and asks the close
// question.
class MainWindow : public QMainWindow {
  Q_OBJECT
public:
  explicit MainWindow(Services services, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Loads the file named on the command line, as Open does: the document
  // then starts unmodified. A failure shows the error box and keeps the
  // default document.
  // Opens a file named on the command line; false when it could not be read.
  bool loadStartupFile(const QString& path);
  // The same, then the caret to a 1-based line and column (0: the first).
  bool loadStartupFileAt(const QString& path, LineColumn place);

  TextDocument& textDocument() const { return *document_; }
  SourceEditor* editor() const { return editor_; }
  ToolsPanel* toolsPanel() const { return toolsPanel_; }
  SyntaxColouring* colouring() const { return colouring_; }
  EditingCommands* editing() const { return editing_; }
  StatusLine* statusLine() const { return statusLine_; }
  ElementDialogs* dialogs() const { return dialogs_; }
  DocumentFiles& files() { return files_; }
  Services& services() { return services_; }
  // A menu command's action; every command has one.
  QAction* action(MainAction id) const { return commands_[std::size_t(id)]; }
  // A menu, hidden or toolbar action by its layout name ("Fjl2", "CtrlB1",
  // "ToolButton11"), for tests and automation.
  QAction* action(const QString& name) const { return actions_.value(name); }
  QToolBar* toolBar() const { return toolBar_; }
  DocumentCommands& documentCommands() { return *documentCommands_; }
  PrintCommand& printCommand() { return *printCommand_; }
  Backup* backup() const { return backup_; }
  // The Deck menu (deck features append their items) and deck checking.
  DeckMenu* deckMenu() const { return deckMenu_; }
  DeckChecking* deckChecking() const { return deckChecking_; }
  DeckService* deckService() const { return deckService_; }
  DeckPreview* deckPreview() const { return deckPreview_; }
  DeckServe* deckServe() const { return deckServe_; }
  SiteChecking* siteChecking() const { return siteChecking_; }
  // The bar above the editor that tells how a file was read.
  NoticeBar* noticeBar() const { return noticeBar_; }

  // The folder holding the program file: backup and table previews live there.
  // The size the window opens with.
  static constexpr QSize kStartSize{831, 585};
  static QString programFolder();

  // Reads the lock keys into the status line (run at idle time).
  void refreshLockKeys();

protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void createActions();
  void createMenus();
  void createToolBar();
  void createCentralArea();
  // Edit commands, element windows and the shortcut routing between them.
  void createEditing();
  void createStatusLine();
  void createDocumentCommands();
  void createDeckChecking();
  void createDeckPreview();
  void createDeckServe();
  void createSiteChecking();
  void stopServing();
  // The close question; true when the window may close.
  bool closeQuery();
  QAction* makeAction(const QString& name, const QString& caption,
                      const QKeySequence& shortcut = {});
  void onFirstActivation();
  // The encoding panel and menus after the file's format changed.
  void showFileFormat();

signals:
  // The window has closed for good (its close was accepted).
  void closed();

private:
  Services services_;
  TextDocument* document_;
  SourceEditor* editor_;
  ToolsPanel* toolsPanel_ = nullptr;
  SyntaxColouring* colouring_ = nullptr;
  EditingCommands* editing_ = nullptr;
  StatusLine* statusLine_ = nullptr;
  ElementDialogs* dialogs_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  DocumentFiles files_;
  std::unique_ptr<DocumentCommands> documentCommands_;
  std::unique_ptr<PrintCommand> printCommand_;
  Backup* backup_ = nullptr;
  DeckMenu* deckMenu_ = nullptr;
  DeckService* deckService_ = nullptr;
  DeckChecking* deckChecking_ = nullptr;
  CompiledDeckCommands* compiledDecks_ = nullptr;
  DeckPreview* deckPreview_ = nullptr;
  DeckServe* deckServe_ = nullptr;
  SiteChecking* siteChecking_ = nullptr;
  NoticeBar* noticeBar_ = nullptr;
  EncodingMenus* encodingMenus_ = nullptr;
  QHash<QString, QAction*> actions_;
  std::array<QAction*, kMainActionCount> commands_{};
  QAction* toolsWindowButton_ = nullptr;
  bool activatedOnce_ = false;
  QMetaObject::Connection idleHook_;
};

} // namespace tessera
