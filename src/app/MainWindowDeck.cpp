#include "app/MainWindow.h"

#include "app/StatusLine.h"
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
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "wml/script/ScriptCompiler.h"

#include "wml/agent/PhoneDisplays.h"

#include <QCoreApplication>
#include <QMenuBar>

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
