#include "app/MainWindow.h"

#include "app/Backup.h"
#include "app/EncodingMenus.h"
#include "app/HelpMenu.h"
#include "app/Icons.h"
#include "app/NoticeBar.h"
#include "app/StatusLine.h"
#include "app/ViewSettings.h"
#include "deck/CompiledDeckCommands.h"
#include "deck/CompiledDeckReader.h"
#include "deck/CompiledSizePanel.h"
#include "deck/DeckChecking.h"
#include "deck/DeckMenu.h"
#include "deck/DeckPreview.h"
#include "deck/DeckServe.h"
#include "deck/DeckService.h"
#include "deck/ErrorMarks.h"
#include "deck/PreviewScreen.h"
#include "deck/PreviewWindow.h"
#include "deck/ServeWindow.h"
#include "deck/SiteChecking.h"
#include "deck/SyntaxColouring.h"
#include "dialogs/ElementDialogs.h"
#include "document/DefaultDocument.h"
#include "editing/EditingCommands.h"
#include "editing/ShortcutRouter.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "generators/Generators.h"
#include "info/BalloonHints.h"
#include "info/StHint.h"
#include "platform/Hint.h"
#include "platform/Product.h"
#include "tools/ToolsPanel.h"
#include "wml/agent/PhoneDisplays.h"
#include "wml/script/ScriptCompiler.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace tessera {

MainWindow::MainWindow(Services services, QWidget* parent)
    : QMainWindow(parent), services_(services), document_(new TextDocument),
      editor_(new SourceEditor(*document_)), files_(*document_, services.prompts, this) {
  setObjectName(QStringLiteral("TForm1"));
  setWindowTitle(kProgramTitle);
  QFont uiFont(QStringLiteral("MS Sans Serif"), 8);
  uiFont.setStyleHint(QFont::SansSerif);
  setFont(uiFont);

  // Every tool tip of the program is a balloon styled by this component.
  TStHint::createForWindow(this, QStringLiteral("StHint1"), btSolid);
  BalloonHints::install().setHidePause(10000);

  createActions();
  createMenus();
  createToolBar();
  createCentralArea();
  createStatusLine();
  colouring_ = new SyntaxColouring(*editor_);
  new ViewSettings(*this);
  new HelpMenu(*this);
  (new Generators(*editor_, services_.prompts, this))
      ->connectCommands(action(MainAction::TableEditor), action(MainAction::DropDownMenuEditor),
                        action(MainAction::SiteWizard));
  files_.setFileConverter(CompiledDeckReader());
  createDocumentCommands();
  createDeckChecking();
  createEditing();
  createDeckPreview();
  createSiteChecking();
  createDeckServe(); // the Deck menu's last item

  document_->replaceWholeText(defaultDocument());
  document_->setModified(false);

  resize(kStartSize);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  // The lock-key panels follow the keyboard whenever the event loop is idle.
  if (auto* dispatcher = QAbstractEventDispatcher::instance())
    idleHook_ = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                        &MainWindow::refreshLockKeys);
}

MainWindow::~MainWindow() { disconnect(idleHook_); }

QString MainWindow::programFolder() { return QCoreApplication::applicationDirPath(); }

// --- construction ----------------------------------------------------------

QAction* MainWindow::makeAction(const QString& name, const QString& caption,
                                const QKeySequence& shortcut) {
  auto* action = new QAction(caption, this);
  action->setObjectName(name);
  if (!shortcut.isEmpty())
    action->setShortcut(shortcut);
  actions_.insert(name, action);
  return action;
}

void MainWindow::createActions() {
  struct Item {
    MainAction id;
    const char* name;
    const char* caption;
    QKeySequence shortcut;
  };
  const Item items[] = {
      {MainAction::New, "j1", "&New", {}},
      {MainAction::NewFile, "Fjl2", "&File...", QKeySequence(Qt::CTRL | Qt::Key_N)},
      {MainAction::SiteWizard, "Varzsl1", "&Site Wizard...", QKeySequence(Qt::CTRL | Qt::Key_W)},
      {MainAction::NewWindow, "Window1", "&Window...", {}},
      {MainAction::Open, "Nyomtats1", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O)},
      {MainAction::Save, "Ments1", "&Save...", QKeySequence(Qt::CTRL | Qt::Key_S)},
      {MainAction::Print, "Nyomtats2", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P)},
      {MainAction::Exit, "Kilps1", "&Exit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
      {MainAction::Undo, "Visszavons1", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
      {MainAction::Copy, "Msols1", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
      {MainAction::Paste, "Beilleszts1", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V)},
      {MainAction::Cut, "Kivgs1", "&Cut", QKeySequence(Qt::CTRL | Qt::Key_X)},
      {MainAction::Delete, "rls1", "&Delete", {}},
      {MainAction::Find, "Find1", "&Find...", QKeySequence(Qt::CTRL | Qt::Key_F)},
      {MainAction::Replace, "Csere1", "&Replace...", QKeySequence(Qt::CTRL | Qt::Key_R)},
      {MainAction::GoToLine, "GotoLine1", "&Go to Line...", QKeySequence(Qt::CTRL | Qt::Key_G)},
      {MainAction::SelectAll, "Mindetkijell1", "&Select All", QKeySequence(Qt::CTRL | Qt::Key_A)},
      {MainAction::DateTime, "Id1", "&Date and Time...", QKeySequence(Qt::Key_F5)},
      {MainAction::TableEditor, "blzatkszt1", "&Table Editor...", QKeySequence(Qt::Key_F9)},
      {MainAction::DropDownMenuEditor, "L1", "&Drop-down Menu Editor...",
       QKeySequence(Qt::Key_F10)},
      {MainAction::ChangeCharacterFormat, "ChangeCharacterFormat1", "&Change Character Format", {}},
      {MainAction::UpperCase, "UpperChase1", "&Upper Chase", {}},
      {MainAction::LowerCase, "Lowerchase1", "&Lower Chase", {}},
      {MainAction::WordWrap, "Szveg1", "&Word Wrap", {}},
      {MainAction::FontSizeSmall, "Betmretkicsi1", "&Font Size - Small", {}},
      {MainAction::FontSizeNormal, "Betmretnorml1", "&Font Size - Normal", {}},
      {MainAction::ToolsWindowTransparency, "segdablak1", "&Tools Window Transparency", {}},
      {MainAction::MovableTabs, "Flekmozgathatsga1", "&Movability of tabs", {}},
      {MainAction::BackupSaving, "Makebackup1", "&Backup Saving", {}},
      {MainAction::HelpBubbles, "SegtsgBE1", "&Help bubbles", {}},
      {MainAction::StayOnTop, "Stayontop1", "Stay on top", {}},
      {MainAction::SyntaxColouring, "SyntaxColouring1", "Syntax &Colouring", {}},
      {MainAction::ToolsWindow, "Eszkzksegdablak2", "&Tools Window", QKeySequence(Qt::Key_F11)},
      {MainAction::BackgroundColor, "EditorsBackgroundColor1", "&Editor's Background Color...", {}},
      {MainAction::WindowSize, "WindowSize1", "&Window Size", {}},
      {MainAction::WindowSize640, "N640x4801", "&640 x 480", {}},
      {MainAction::WindowSize800, "N800x6001", "&800 x 600", {}},
      {MainAction::WindowSize1024, "N1024x7681", "&1024 x 768", {}},
      {MainAction::WebPage, "Weboldal1", "&%1 Online...", {}},
      {MainAction::EMail, "EMail1", "&E-mail Contact...", {}},
      {MainAction::About, "Info1", "&About %1...", {}},
      {MainAction::Bold, "CtrlB1", "CtrlB", QKeySequence(Qt::CTRL | Qt::Key_B)},
      {MainAction::Italic, "CtrlI1", "CtrlI", QKeySequence(Qt::CTRL | Qt::Key_I)},
      {MainAction::Underline, "CtrlU1", "CtrlU", QKeySequence(Qt::CTRL | Qt::Key_U)},
  };
  for (const Item& item : items)
    commands_[std::size_t(item.id)] = makeAction(
        QString::fromLatin1(item.name),
        // "%1" stands for the program's name
        QString::fromUtf8(item.caption).replace(QLatin1String("%1"), kProgramName), item.shortcut);
  // Checked in every build: a command without its action would stay unbound.
  for (std::size_t id = 0; id < kMainActionCount; ++id)
    if (!commands_[id])
      qFatal("MainWindow: command %d has no action", int(id));

  // Check marks as at every start.
  using enum MainAction;
  for (MainAction id : {WordWrap, FontSizeSmall, FontSizeNormal, ToolsWindowTransparency,
                        MovableTabs, BackupSaving, HelpBubbles, StayOnTop, SyntaxColouring})
    action(id)->setCheckable(true);
  for (MainAction id : {WordWrap, FontSizeNormal, ToolsWindowTransparency, MovableTabs, HelpBubbles,
                        SyntaxColouring})
    action(id)->setChecked(true);

  setHint(action(MainAction::Print), QStringLiteral("Forráskód nyomtatása"));
  setHint(action(MainAction::BackupSaving),
          QStringLiteral("Automatic saving (backup) in every 5 minutes to the program directory "
                         "(folder) under the name backup.wml"));
  setHint(action(MainAction::HelpBubbles), QStringLiteral("Disabling help bubbles"));

  action(MainAction::Print)->setIcon(themedIcon(IconId::Print));
  action(MainAction::Exit)->setIcon(themedIcon(IconId::Exit));

  // The hidden items act through their shortcuts only: they belong to the
  // window, not to a menu.
  for (MainAction id : {Bold, Italic, Underline}) {
    QAction* hidden = action(id);
    hidden->setShortcutContext(Qt::WindowShortcut);
    addAction(hidden);
  }

  connect(action(MainAction::Exit), &QAction::triggered, this, &QWidget::close);
}

void MainWindow::createMenus() {
  const auto item = [this](QMenu* menu, MainAction id) { menu->addAction(action(id)); };
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));

  QMenu* file = bar->addMenu(QStringLiteral("File"));
  file->setObjectName(QStringLiteral("File1"));
  QMenu* fileNew = new QMenu(QStringLiteral("&New"), file);
  fileNew->setObjectName(QStringLiteral("j1Menu"));
  action(MainAction::New)->setMenu(fileNew);
  item(file, MainAction::New);
  item(fileNew, MainAction::NewFile);
  item(fileNew, MainAction::SiteWizard);
  item(fileNew, MainAction::NewWindow);
  item(file, MainAction::Open);
  item(file, MainAction::Save);
  encodingMenus_ = new EncodingMenus(this);
  file->addMenu(encodingMenus_->reopenMenu());
  file->addMenu(encodingMenus_->saveMenu());
  file->addSeparator();
  item(file, MainAction::Print);
  file->addSeparator();
  item(file, MainAction::Exit);

  QMenu* edit = bar->addMenu(QStringLiteral("Edit"));
  // Not "Edit1": that is the link URL field of the tools panel.
  edit->setObjectName(QStringLiteral("EditMenu"));
  item(edit, MainAction::Undo);
  edit->addSeparator();
  item(edit, MainAction::Copy);
  item(edit, MainAction::Paste);
  item(edit, MainAction::Cut);
  item(edit, MainAction::Delete);
  edit->addSeparator();
  item(edit, MainAction::Find);
  item(edit, MainAction::Replace);
  item(edit, MainAction::GoToLine);
  edit->addSeparator();
  item(edit, MainAction::SelectAll);
  item(edit, MainAction::DateTime);

  QMenu* tools = bar->addMenu(QStringLiteral("Tools"));
  tools->setObjectName(QStringLiteral("Tools1"));
  item(tools, MainAction::TableEditor);
  item(tools, MainAction::DropDownMenuEditor);
  tools->addSeparator();
  QMenu* charFormat = new QMenu(QStringLiteral("&Change Character Format"), tools);
  charFormat->setObjectName(QStringLiteral("ChangeCharacterFormat1Menu"));
  action(MainAction::ChangeCharacterFormat)->setMenu(charFormat);
  item(tools, MainAction::ChangeCharacterFormat);
  item(charFormat, MainAction::UpperCase);
  item(charFormat, MainAction::LowerCase);

  QMenu* options = bar->addMenu(QStringLiteral("Options"));
  options->setObjectName(QStringLiteral("Options1"));
  item(options, MainAction::WordWrap);
  options->addSeparator();
  item(options, MainAction::FontSizeSmall);
  item(options, MainAction::FontSizeNormal);
  options->addSeparator();
  item(options, MainAction::ToolsWindowTransparency);
  options->addSeparator();
  item(options, MainAction::MovableTabs);
  options->addSeparator();
  item(options, MainAction::BackupSaving);
  options->addSeparator();
  item(options, MainAction::HelpBubbles);
  options->addSeparator();
  item(options, MainAction::StayOnTop);
  options->addSeparator();
  item(options, MainAction::SyntaxColouring);

  QMenu* view = bar->addMenu(QStringLiteral("View"));
  view->setObjectName(QStringLiteral("View1"));
  item(view, MainAction::ToolsWindow);
  view->addSeparator();
  item(view, MainAction::BackgroundColor);
  view->addSeparator();
  QMenu* sizes = new QMenu(QStringLiteral("&Window Size"), view);
  sizes->setObjectName(QStringLiteral("WindowSize1Menu"));
  action(MainAction::WindowSize)->setMenu(sizes);
  item(view, MainAction::WindowSize);
  item(sizes, MainAction::WindowSize640);
  item(sizes, MainAction::WindowSize800);
  item(sizes, MainAction::WindowSize1024);

  QMenu* help = bar->addMenu(QStringLiteral("Help"));
  help->setObjectName(QStringLiteral("Help1"));
  item(help, MainAction::WebPage);
  item(help, MainAction::EMail);
  help->addSeparator();
  item(help, MainAction::About);
}

void MainWindow::createToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QStringLiteral("ToolBar1"));
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setIconSize(QSize(22, 22));
  toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, toolBar_);

  struct Button {
    const char* name;
    const char* hint;
    IconId icon;
    MainAction runs; // the menu item it stands for
  };
  const Button buttons[] = {
      {"ToolButton1", "New (Ctrl+N)", IconId::New, MainAction::NewFile},
      {"ToolButton2", "Open (Ctrl+O)", IconId::Open, MainAction::Open},
      {"ToolButton3", "Save (Ctrl+S)", IconId::Save, MainAction::Save},
      {nullptr, nullptr, IconId::New, MainAction::New},
      {"ToolButton6", "Cut (Ctrl+X)", IconId::Cut, MainAction::Cut},
      {"ToolButton7", "Copy (Ctrl+C)", IconId::Copy, MainAction::Copy},
      {"ToolButton8", "Paste (Ctrl+V)", IconId::Paste, MainAction::Paste},
      {nullptr, nullptr, IconId::New, MainAction::New},
      {"ToolButton10", "Table Editor (F9)", IconId::Table, MainAction::TableEditor},
      {"ToolButton4", "Drop-down Menu Editor (F10)", IconId::DropDown,
       MainAction::DropDownMenuEditor},
      {"ToolButton11", "Tools window (F11)", IconId::ToolsWindowShown, MainAction::ToolsWindow},
      {nullptr, nullptr, IconId::New, MainAction::New},
      {"ToolButton13", "About", IconId::About, MainAction::About},
  };
  for (const Button& b : buttons) {
    if (!b.name) {
      toolBar_->addSeparator();
      continue;
    }
    // A button of its own (not the menu's action) so it carries its own
    // hint; pressing it runs the menu item.
    auto* button = makeAction(QString::fromLatin1(b.name), QString());
    button->setIcon(themedIcon(b.icon));
    setHint(button, QString::fromUtf8(b.hint));
    QAction* menuItem = action(b.runs);
    connect(button, &QAction::triggered, menuItem, &QAction::trigger);
    toolBar_->addAction(button);
    if (b.runs == MainAction::ToolsWindow)
      toolsWindowButton_ = button;
    if (QWidget* w = toolBar_->widgetForAction(button)) {
      w->setObjectName(QString::fromLatin1(b.name));
      w->setFixedSize(33, 25);
      w->setFocusPolicy(Qt::NoFocus);
    }
  }
  action(MainAction::ToolsWindow)->setIcon(themedIcon(IconId::ToolsWindowShown));
  toolBar_->setFixedHeight(29);
}

void MainWindow::createEditing() {
  const auto command = [this](MainAction id) -> QAction& { return *action(id); };
  using enum MainAction;
  const EditMenuActions edit{.undo = command(Undo),
                             .cut = command(Cut),
                             .copy = command(Copy),
                             .paste = command(Paste),
                             .deleteSelection = command(Delete),
                             .selectAll = command(SelectAll)};
  const EditingActions editing{.undo = edit.undo,
                               .copy = edit.copy,
                               .paste = edit.paste,
                               .cut = edit.cut,
                               .deleteSelection = edit.deleteSelection,
                               .selectAll = edit.selectAll,
                               .upperCase = command(UpperCase),
                               .lowerCase = command(LowerCase),
                               .bold = command(Bold),
                               .italic = command(Italic),
                               .underline = command(Underline),
                               .find = command(Find),
                               .replace = command(Replace),
                               .goToLine = command(GoToLine)};
  // Every menu command's shortcut comes before the controls' own keys.
  const QList<QAction*> shortcutActions(commands_.begin(), commands_.end());
  editing_ = new EditingCommands(this, editing, shortcutActions, *editor_, services_.prompts);
  dialogs_ = new ElementDialogs(
      this, *editor_, services_.prompts,
      {.toolsWindow = command(ToolsWindow),
       .toolsWindowButton = *toolsWindowButton_,
       .transparency = command(ToolsWindowTransparency),
       .dateTime = command(DateTime),
       .edit = edit},
      {themedIcon(IconId::ToolsWindowShown), themedIcon(IconId::ToolsWindowHidden)});
  // Its controls obey the menu shortcuts as the main window's do.
  connect(dialogs_, &ElementDialogs::toolsWindowMade, &editing_->shortcuts(),
          &ShortcutRouter::addWindow);
}

void MainWindow::createCentralArea() {
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("ClientArea"));
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  toolsPanel_ = new ToolsPanel(editor_, services_.prompts, central);
  layout->addWidget(toolsPanel_);
  noticeBar_ = new NoticeBar(central);
  layout->addWidget(noticeBar_);
  editor_->setParent(central);
  layout->addWidget(editor_, 1);
  setCentralWidget(central);
  // The tools panel comes first in the tab order, then the editor.
  setTabOrder(toolsPanel_, editor_);
  // Children are deleted in the order they were given: the view before
  // the document it draws.
  document_->setParent(this);
}

void MainWindow::createStatusLine() {
  statusLine_ = new StatusLine(this);
  setStatusBar(statusLine_);
  connect(editor_, &SourceEditor::statusChanged, statusLine_, &StatusLine::showRowColumn);
}

// --- behaviour ---------------------------------------------------------------

bool MainWindow::loadStartupFile(const QString& path) {
  const bool loaded = files_.loadFile(path);
  if (loaded)
    document_->setModified(files_.lastLoadConverted());
  editor_->refreshStatus();
  deckChecking_->documentOpened();
  deckPreview_->documentOpened();
  return loaded;
}

bool MainWindow::loadStartupFileAt(const QString& path, LineColumn place) {
  const bool loaded = loadStartupFile(path);
  // Once the window is shown and laid out: the status line's row counts
  // display rows, which a window not yet shown has too narrow. A line
  // without a column is its start.
  if (loaded && place.known())
    QTimer::singleShot(0, this, [this, place] {
      deckChecking_->goTo({place.line, std::max(place.column, 1)});
    });
  return loaded;
}

void MainWindow::refreshLockKeys() { statusLine_->showLockKeys(services_.lockKeys.read()); }

bool MainWindow::event(QEvent* event) {
  switch (event->type()) {
  case QEvent::StatusTip:
    // Hints of menu items and controls go to panel 0, never to the
    // status bar's own message area.
    statusLine_->showHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  case QEvent::WindowActivate:
    if (!activatedOnce_)
      onFirstActivation();
    QApplication::setEffectEnabled(Qt::UI_AnimateTooltip, false);
    break;
  default: break;
  }
  return QMainWindow::event(event);
}

void MainWindow::onFirstActivation() {
  activatedOnce_ = true;
  setWindowState(windowState() | Qt::WindowMaximized);
  dialogs_->switchOnSnapping();
}

bool MainWindow::closeQuery() {
  if (!documentCommands_->settleUnsavedChanges())
    return false;
  // The user has settled the text: a second close request asks nothing.
  document_->setModified(false);
  return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closeQuery()) {
    event->accept();
    stopServing();
    emit closed();
  } else {
    event->ignore();
  }
}

} // namespace tessera

// The Deck menu (between View and Help), checking the deck and its preview.
namespace tessera {

// Help is the last menu; Deck goes just before it.
void MainWindow::createDeckChecking() {
  deckMenu_ = new DeckMenu(this);
  menuBar()->insertMenu(menuBar()->actions().constLast(), deckMenu_);
  // One parse per revision serves the checker, the marks, the meter and
  // the preview.
  deckService_ = new DeckService(*document_, this);
  deckChecking_ = new DeckChecking(*this, *editor_, *deckService_, *deckMenu_);
  // The compiled-deck group follows the checking items; its meter follows
  // every parse.
  compiledDecks_ =
      new CompiledDeckCommands(*this, *editor_, *deckMenu_, *deckService_, services_.prompts,
                               [this] { return document_->filePath(); });
  statusLine_->addTrailingPanel(compiledDecks_->panel());
  // Every finished check, by hand or while typing, marks its findings in the text.
  auto* marks = new ErrorMarks(*editor_, *colouring_);
  connect(deckChecking_, &DeckChecking::findingsChanged, marks,
          [marks](const QList<wml::Finding>& findings) { marks->setFindings(findings); });
  // A ".wmls" is a WMLScript unit: coloured as one and checked by its
  // compiler (the deck service reads the name with each snapshot); a saved
  // copy under another name is read again at once.
  connect(document_, &TextDocument::fileChanged, this, [this] {
    const auto language = wml::script::isScriptFileName(document_->filePath())
                              ? SyntaxColouring::Language::Script
                              : SyntaxColouring::Language::Wml;
    if (language == colouring_->language())
      return;
    colouring_->setLanguage(language);
    deckService_->refreshNow(deckService_->checksWhileTyping());
  });
}

// The preview follows the editor and reads pictures and decks beside the
// saved document.
void MainWindow::createDeckPreview() {
  deckPreview_ = new DeckPreview(*this, *editor_, *deckService_, *deckMenu_);
  // A caret the preview places is shown in the status line at once.
  connect(deckPreview_, &DeckPreview::caretPlaced, editor_, &SourceEditor::refreshStatus);
}

// Checking the document's folder as one site: the budget chosen in the Deck
// menu, the preview's phone (its first choice until it is opened).
void MainWindow::createSiteChecking() {
  SiteChecking::Settings settings;
  settings.budget = [this] { return compiledDecks_->budget(); };
  settings.screen = [this] {
    const PreviewWindow* preview = deckPreview_->window();
    const int index = preview ? preview->screen()->profile() : wml::agent::kDefaultPhoneDisplay;
    return wml::agent::phoneDisplays()[size_t(index)].size;
  };
  settings.program = CompiledDeckReader::defaultProgram();
  siteChecking_ = new SiteChecking(*this, *document_, *deckMenu_, *deckChecking_, services_.prompts,
                                   services_.shell, std::move(settings));
}

// Serving the document's folder to a phone, last in the Deck menu.
void MainWindow::createDeckServe() { deckServe_ = new DeckServe(*this, *document_, *deckMenu_); }

// Closing the program stops the server at once, not when the window goes.
void MainWindow::stopServing() {
  if (ServeWindow* window = deckServe_->window())
    window->stop();
}

} // namespace tessera

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
