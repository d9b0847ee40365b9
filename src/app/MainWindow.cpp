#include "app/MainWindow.h"

#include "app/HelpMenu.h"
#include "app/Icons.h"
#include "app/StatusLine.h"
#include "app/ViewSettings.h"
#include "deck/CompiledDeckReader.h"
#include "deck/DeckChecking.h"
#include "deck/DeckPreview.h"
#include "deck/SyntaxColouring.h"
#include "dialogs/ElementDialogs.h"
#include "document/DefaultDocument.h"
#include "document/Product.h"
#include "editing/EditingCommands.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "generators/Generators.h"
#include "info/BalloonHints.h"
#include "info/StHint.h"
#include "platform/Hint.h"
#include "tools/ToolsPanel.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QStatusTipEvent>
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
      ->connectCommands(action(QStringLiteral("blzatkszt1")), action(QStringLiteral("L1")),
                        action(QStringLiteral("Varzsl1")));
  files_.setFileConverter(CompiledDeckReader());
  createDocumentCommands();
  createDeckChecking();
  editing_ = new EditingCommands(this, *editor_, services_.prompts);
  dialogs_ = new ElementDialogs(
      this, *editor_, services_.prompts, [this](const QString& name) { return action(name); },
      {themedIcon(IconId::ToolsWindowShown), themedIcon(IconId::ToolsWindowHidden)});
  createDeckPreview(); // the Deck menu's last item

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
    const char* name;
    const char* caption;
    QKeySequence shortcut;
  };
  const Item items[] = {
      {"j1", "&New", {}},
      {"Fjl2", "&File...", QKeySequence(Qt::CTRL | Qt::Key_N)},
      {"Varzsl1", "&Site Wizard...", QKeySequence(Qt::CTRL | Qt::Key_W)},
      {"Window1", "&Window...", {}},
      {"Nyomtats1", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O)},
      {"Ments1", "&Save...", QKeySequence(Qt::CTRL | Qt::Key_S)},
      {"Nyomtats2", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P)},
      {"Kilps1", "&Exit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
      {"Visszavons1", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
      {"Msols1", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
      {"Beilleszts1", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V)},
      {"Kivgs1", "&Cut", QKeySequence(Qt::CTRL | Qt::Key_X)},
      {"rls1", "&Delete", {}},
      {"Find1", "&Find...", QKeySequence(Qt::CTRL | Qt::Key_F)},
      {"Csere1", "&Replace...", QKeySequence(Qt::CTRL | Qt::Key_R)},
      {"GotoLine1", "&Go to Line...", QKeySequence(Qt::CTRL | Qt::Key_G)},
      {"Mindetkijell1", "&Select All", QKeySequence(Qt::CTRL | Qt::Key_A)},
      {"Id1", "&Date and Time...", QKeySequence(Qt::Key_F5)},
      {"blzatkszt1", "&Table Editor...", QKeySequence(Qt::Key_F9)},
      {"L1", "&Drop-down Menu Editor...", QKeySequence(Qt::Key_F10)},
      {"ChangeCharacterFormat1", "&Change Character Format", {}},
      {"UpperChase1", "&Upper Chase", {}},
      {"Lowerchase1", "&Lower Chase", {}},
      {"Szveg1", "&Word Wrap", {}},
      {"Betmretkicsi1", "&Font Size - Small", {}},
      {"Betmretnorml1", "&Font Size - Normal", {}},
      {"segdablak1", "&Tools Window Transparency", {}},
      {"Flekmozgathatsga1", "&Movability of tabs", {}},
      {"Makebackup1", "&Backup Saving", {}},
      {"SegtsgBE1", "&Help bubbles", {}},
      {"Stayontop1", "Stay on top", {}},
      {"SyntaxColouring1", "Syntax &Colouring", {}},
      {"Eszkzksegdablak2", "&Tools Window", QKeySequence(Qt::Key_F11)},
      {"EditorsBackgroundColor1", "&Editor's Background Color...", {}},
      {"WindowSize1", "&Window Size", {}},
      {"N640x4801", "&640 x 480", {}},
      {"N800x6001", "&800 x 600", {}},
      {"N1024x7681", "&1024 x 768", {}},
      {"Weboldal1", "&WML Tessera Online...", {}},
      {"EMail1", "&E-mail Contact...", {}},
      {"Info1", "&About WML Tessera...", {}},
      {"CtrlB1", "CtrlB", QKeySequence(Qt::CTRL | Qt::Key_B)},
      {"CtrlI1", "CtrlI", QKeySequence(Qt::CTRL | Qt::Key_I)},
      {"CtrlU1", "CtrlU", QKeySequence(Qt::CTRL | Qt::Key_U)},
  };
  for (const Item& item : items)
    makeAction(QString::fromLatin1(item.name), QString::fromUtf8(item.caption), item.shortcut);

  // Check marks as at every start.
  for (const char* name : {"Szveg1", "Betmretkicsi1", "Betmretnorml1", "segdablak1",
                           "Flekmozgathatsga1", "Makebackup1", "SegtsgBE1", "Stayontop1", "SyntaxColouring1"})
    action(QString::fromLatin1(name))->setCheckable(true);
  for (const char* name :
       {"Szveg1", "Betmretnorml1", "segdablak1", "Flekmozgathatsga1", "SegtsgBE1", "SyntaxColouring1"})
    action(QString::fromLatin1(name))->setChecked(true);

  setHint(action(QStringLiteral("Nyomtats2")), QStringLiteral("Forráskód nyomtatása"));
  setHint(action(QStringLiteral("Makebackup1")),
          QStringLiteral("Automatic saving (backup) in every 5 minutes to the program directory "
                         "(folder) under the name backup.wml"));
  setHint(action(QStringLiteral("SegtsgBE1")), QStringLiteral("Disabling help bubbles"));

  action(QStringLiteral("Nyomtats2"))->setIcon(themedIcon(IconId::Print));
  action(QStringLiteral("Kilps1"))->setIcon(themedIcon(IconId::Exit));

  // The hidden items act through their shortcuts only: they belong to the
  // window, not to a menu.
  for (const char* name : {"CtrlB1", "CtrlI1", "CtrlU1"}) {
    QAction* hidden = action(QString::fromLatin1(name));
    hidden->setShortcutContext(Qt::WindowShortcut);
    addAction(hidden);
  }

  connect(action(QStringLiteral("Kilps1")), &QAction::triggered, this, &QWidget::close);
}

void MainWindow::createMenus() {
  const auto item = [this](QMenu* menu, const char* name) {
    menu->addAction(action(QString::fromLatin1(name)));
  };
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));

  QMenu* file = bar->addMenu(QStringLiteral("File"));
  file->setObjectName(QStringLiteral("File1"));
  QMenu* fileNew = new QMenu(QStringLiteral("&New"), file);
  fileNew->setObjectName(QStringLiteral("j1Menu"));
  action(QStringLiteral("j1"))->setMenu(fileNew);
  item(file, "j1");
  item(fileNew, "Fjl2");
  item(fileNew, "Varzsl1");
  item(fileNew, "Window1");
  item(file, "Nyomtats1");
  item(file, "Ments1");
  file->addSeparator();
  item(file, "Nyomtats2");
  file->addSeparator();
  item(file, "Kilps1");

  QMenu* edit = bar->addMenu(QStringLiteral("Edit"));
  // Not "Edit1": that is the link URL field of the tools panel.
  edit->setObjectName(QStringLiteral("EditMenu"));
  item(edit, "Visszavons1");
  edit->addSeparator();
  item(edit, "Msols1");
  item(edit, "Beilleszts1");
  item(edit, "Kivgs1");
  item(edit, "rls1");
  edit->addSeparator();
  item(edit, "Find1");
  item(edit, "Csere1");
  item(edit, "GotoLine1");
  edit->addSeparator();
  item(edit, "Mindetkijell1");
  item(edit, "Id1");

  QMenu* tools = bar->addMenu(QStringLiteral("Tools"));
  tools->setObjectName(QStringLiteral("Tools1"));
  item(tools, "blzatkszt1");
  item(tools, "L1");
  tools->addSeparator();
  QMenu* charFormat = new QMenu(QStringLiteral("&Change Character Format"), tools);
  charFormat->setObjectName(QStringLiteral("ChangeCharacterFormat1Menu"));
  action(QStringLiteral("ChangeCharacterFormat1"))->setMenu(charFormat);
  item(tools, "ChangeCharacterFormat1");
  item(charFormat, "UpperChase1");
  item(charFormat, "Lowerchase1");

  QMenu* options = bar->addMenu(QStringLiteral("Options"));
  options->setObjectName(QStringLiteral("Options1"));
  item(options, "Szveg1");
  options->addSeparator();
  item(options, "Betmretkicsi1");
  item(options, "Betmretnorml1");
  options->addSeparator();
  item(options, "segdablak1");
  options->addSeparator();
  item(options, "Flekmozgathatsga1");
  options->addSeparator();
  item(options, "Makebackup1");
  options->addSeparator();
  item(options, "SegtsgBE1");
  options->addSeparator();
  item(options, "Stayontop1");
  options->addSeparator();
  item(options, "SyntaxColouring1");

  QMenu* view = bar->addMenu(QStringLiteral("View"));
  view->setObjectName(QStringLiteral("View1"));
  item(view, "Eszkzksegdablak2");
  view->addSeparator();
  item(view, "EditorsBackgroundColor1");
  view->addSeparator();
  QMenu* sizes = new QMenu(QStringLiteral("&Window Size"), view);
  sizes->setObjectName(QStringLiteral("WindowSize1Menu"));
  action(QStringLiteral("WindowSize1"))->setMenu(sizes);
  item(view, "WindowSize1");
  item(sizes, "N640x4801");
  item(sizes, "N800x6001");
  item(sizes, "N1024x7681");

  QMenu* help = bar->addMenu(QStringLiteral("Help"));
  help->setObjectName(QStringLiteral("Help1"));
  item(help, "Weboldal1");
  item(help, "EMail1");
  help->addSeparator();
  item(help, "Info1");
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
    const char* runs; // the menu item it stands for
  };
  const Button buttons[] = {
      {"ToolButton1", "New (Ctrl+N)", IconId::New, "Fjl2"},
      {"ToolButton2", "Open (Ctrl+O)", IconId::Open, "Nyomtats1"},
      {"ToolButton3", "Save (Ctrl+S)", IconId::Save, "Ments1"},
      {nullptr, nullptr, IconId::New, nullptr},
      {"ToolButton6", "Cut (Ctrl+X)", IconId::Cut, "Kivgs1"},
      {"ToolButton7", "Copy (Ctrl+C)", IconId::Copy, "Msols1"},
      {"ToolButton8", "Paste (Ctrl+V)", IconId::Paste, "Beilleszts1"},
      {nullptr, nullptr, IconId::New, nullptr},
      {"ToolButton10", "Table Editor (F9)", IconId::Table, "blzatkszt1"},
      {"ToolButton4", "Drop-down Menu Editor (F10)", IconId::DropDown, "L1"},
      {"ToolButton11", "Tools window (F11)", IconId::ToolsWindowShown, "Eszkzksegdablak2"},
      {nullptr, nullptr, IconId::New, nullptr},
      {"ToolButton13", "About", IconId::About, "Info1"},
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
    QAction* menuItem = action(QString::fromLatin1(b.runs));
    connect(button, &QAction::triggered, menuItem, &QAction::trigger);
    toolBar_->addAction(button);
    if (QWidget* w = toolBar_->widgetForAction(button)) {
      w->setObjectName(QString::fromLatin1(b.name));
      w->setFixedSize(33, 25);
      w->setFocusPolicy(Qt::NoFocus);
    }
  }
  action(QStringLiteral("Eszkzksegdablak2"))->setIcon(themedIcon(IconId::ToolsWindowShown));
  toolBar_->setFixedHeight(29);
}

void MainWindow::createCentralArea() {
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("ClientArea"));
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  toolsPanel_ = new ToolsPanel(editor_, services_.prompts, central);
  layout->addWidget(toolsPanel_);
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

void MainWindow::loadStartupFile(const QString& path) {
  if (files_.loadFile(path))
    document_->setModified(files_.lastLoadConverted());
  editor_->refreshStatus();
  deckChecking_->documentOpened();
  deckPreview_->documentOpened();
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

void MainWindow::resizeEvent(QResizeEvent* event) { QMainWindow::resizeEvent(event); }

bool MainWindow::closeQuery() {
  if (!document_->isModified())
    return true;
  switch (files_.askSaveQuestion()) {
  case QMessageBox::Yes: return files_.saveToChosenFile();
  case QMessageBox::No: document_->setModified(false); return true;
  default: return false;
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closeQuery())
    event->accept();
  else
    event->ignore();
}

} // namespace tessera
