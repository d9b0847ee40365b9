#include "deck/CompiledDeckCommands.h"

#include "deck/CompiledSizePanel.h"
#include "deck/DeckMenu.h"
#include "deck/DeckService.h"
#include "deck/StatusReport.h"
#include "deck/WbmpWindow.h"
#include "document/DocumentFiles.h"
#include "editor/EditorView.h"
#include "editor/TextDocument.h"
#include "platform/Prompts.h"
#include "wml/check/DeckChecker.h"
#include "wml/script/ScriptCompiler.h"
#include "wml/wbxml/DeckCompiler.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMainWindow>
#include <algorithm>

namespace tessera {

CompiledDeckCommands::CompiledDeckCommands(QMainWindow& window, EditorView& editor, DeckMenu& menu,
                                           DeckService& service, Prompts& prompts,
                                           std::function<QString()> documentPath)
    : QObject(&window), window_(window), editor_(editor), service_(service), prompts_(prompts),
      documentPath_(std::move(documentPath)), panel_(new CompiledSizePanel),
      budgets_(new QActionGroup(this)) {
  menu.addSeparator();
  QMenu* budgetMenu = menu.addMenu(QStringLiteral("Phone &Budget"));
  budgetMenu->setObjectName(QStringLiteral("PhoneBudget1"));
  for (int bytes : kBudgets) {
    QAction* item = budgetMenu->addAction(QStringLiteral("%1 bytes").arg(bytes));
    item->setObjectName(QStringLiteral("Budget%1").arg(bytes));
    item->setData(bytes);
  }
  QAction* none = budgetMenu->addAction(QStringLiteral("None"));
  none->setObjectName(QStringLiteral("BudgetNone"));
  none->setData(0);
  for (QAction* item : budgetMenu->actions()) {
    item->setCheckable(true);
    budgets_->addAction(item);
  }
  budgetMenu->actions().constFirst()->setChecked(true);
  connect(budgets_, &QActionGroup::triggered, this, &CompiledDeckCommands::chooseBudget);

  QAction* compile = menu.addAction(QStringLiteral("&Compile to WBXML..."));
  compile->setObjectName(QStringLiteral("CompileDeck1"));
  connect(compile, &QAction::triggered, this, &CompiledDeckCommands::compileToFile);
  QAction* wbmp = menu.addAction(QStringLiteral("Convert Image to &WBMP..."));
  wbmp->setObjectName(QStringLiteral("ConvertWbmp1"));
  connect(wbmp, &QAction::triggered, this, &CompiledDeckCommands::convertImage);

  panel_->setBudget(budget());
  service_.setBudget(budget());
  connect(&service_, &DeckService::published, panel_,
          [this](const std::shared_ptr<const ParsedRevision>& parsed) {
            panel_->setFormat(parsed->script ? QStringLiteral("WMLSC") : QStringLiteral("WBXML"));
            panel_->showSize(parsed->compiledBytes);
          });
}

int CompiledDeckCommands::budget() const {
  const QAction* chosen = budgets_->checkedAction();
  return chosen ? chosen->data().toInt() : 0;
}

// The panel changes colour at once, and so does the checker's warning.
void CompiledDeckCommands::chooseBudget() {
  panel_->setBudget(budget());
  service_.setBudget(budget());
}

bool CompiledDeckCommands::isScript() const {
  return documentPath_ && wml::script::isScriptFileName(documentPath_());
}

// The checker's findings for the text about to be compiled: those already
// published when they are of this revision, else a check now.
QList<wml::Finding> CompiledDeckCommands::findingsNow(const QString& text) const {
  const std::shared_ptr<const ParsedRevision> latest = service_.latest();
  if (latest && latest->checked && service_.upToDate())
    return latest->findings;
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return wml::check::checkDeck(lines, {documentPath_ ? documentPath_() : QString()});
}

void CompiledDeckCommands::compileToFile() {
  if (isScript()) {
    compileScriptToFile();
    return;
  }
  const QString text = editor_.textDocument().wholeText();
  const wml::wbxml::CompiledDeck compiled = wml::wbxml::compileDeckText(text);
  if (!compiled.ok) {
    prompts_.error(&window_, (compiled.wellFormed
                                  ? QStringLiteral("The deck holds a malformed variable reference, "
                                                   "so it cannot be compiled (%1).")
                                  : QStringLiteral("The deck is not well-formed, so it cannot be "
                                                   "compiled (%1)."))
                                 .arg(compiled.error));
    return;
  }
  // A deck the checks find wrong would fail on the phone: compiling it is
  // the person's choice, made knowing.
  const QList<wml::Finding> findings = findingsNow(text);
  const auto firstError =
      std::find_if(findings.cbegin(), findings.cend(), [](const wml::Finding& finding) {
        return finding.severity == wml::Severity::Error;
      });
  if (firstError != findings.cend()) {
    const qsizetype errors = std::count_if(firstError, findings.cend(), [](const auto& finding) {
      return finding.severity == wml::Severity::Error;
    });
    const QString question =
        QStringLiteral("The checks find %1 error(s) in the deck; the first, on line %2: %3\n\n"
                       "Compile it all the same?")
            .arg(errors)
            .arg(firstError->start.line)
            .arg(firstError->message);
    if (prompts_.confirm(&window_, question, QMessageBox::Yes | QMessageBox::No) !=
        QMessageBox::Yes)
      return;
  }
  FileDialogRequest request;
  request.title = QStringLiteral("Compile to WBXML");
  request.filters = {QStringLiteral("Compiled WML decks (*.wmlc)"),
                     QStringLiteral("All files (*)")};
  const QString deck = documentPath_ ? documentPath_() : QString();
  request.initialName = deck.isEmpty()
                            ? QStringLiteral("deck.wmlc")
                            : QFileInfo(deck).dir().filePath(QFileInfo(deck).completeBaseName() +
                                                             QStringLiteral(".wmlc"));
  request.defaultSuffix = QStringLiteral("wmlc");
  request.confirmOverwrite = true;
  const QString path = prompts_.saveFileName(&window_, request);
  if (path.isEmpty())
    return;
  QString reason;
  if (!writeFileAtomically(path, compiled.bytes, &reason)) {
    prompts_.error(&window_, cannotCreateFileText(path, reason));
    return;
  }
  reportInStatusLine(window_, QStringLiteral("Compiled to %1: %2 bytes")
                                  .arg(QDir::toNativeSeparators(path))
                                  .arg(compiled.bytes.size()));
}

// A WMLScript unit's bytecode, written beside it as a ".wmlsc" by default.
void CompiledDeckCommands::compileScriptToFile() {
  const wml::script::ScriptCompileResult compiled =
      wml::script::compileScript(editor_.textDocument().wholeText());
  if (!compiled.ok()) {
    const wml::Finding* first = nullptr;
    for (const wml::Finding& finding : compiled.findings)
      if (finding.severity == wml::Severity::Error) {
        first = &finding;
        break;
      }
    prompts_.error(&window_, QStringLiteral("The script does not compile (line %1, column %2: "
                                            "%3).")
                                 .arg(first ? first->start.line : 0)
                                 .arg(first ? first->start.column : 0)
                                 .arg(first ? first->message : QString()));
    return;
  }
  FileDialogRequest request;
  request.title = QStringLiteral("Compile to WMLScript Bytecode");
  request.filters = {QStringLiteral("Compiled WMLScript (*.wmlsc)"),
                     QStringLiteral("All files (*)")};
  const QString script = documentPath_();
  request.initialName = QFileInfo(script).dir().filePath(QFileInfo(script).completeBaseName() +
                                                         QStringLiteral(".wmlsc"));
  request.defaultSuffix = QStringLiteral("wmlsc");
  request.confirmOverwrite = true;
  const QString path = prompts_.saveFileName(&window_, request);
  if (path.isEmpty())
    return;
  QString reason;
  if (!writeFileAtomically(path, compiled.bytecode, &reason)) {
    prompts_.error(&window_, cannotCreateFileText(path, reason));
    return;
  }
  reportInStatusLine(window_, QStringLiteral("Compiled to %1: %2 bytes")
                                  .arg(QDir::toNativeSeparators(path))
                                  .arg(compiled.bytecode.size()));
}

void CompiledDeckCommands::convertImage() {
  FileDialogRequest request;
  request.title = QStringLiteral("Convert Image to WBMP");
  request.filters = {QStringLiteral("Images (*.png *.jpg *.jpeg *.gif *.bmp)"),
                     QStringLiteral("All files (*)")};
  const QString path = prompts_.openFileName(&window_, request);
  if (path.isEmpty())
    return;
  QImageReader reader(path);
  const QImage picture = reader.read();
  if (picture.isNull()) {
    prompts_.error(&window_, QStringLiteral("Cannot read the image \"%1\". %2")
                                 .arg(QDir::toNativeSeparators(path), reader.errorString()));
    return;
  }
  if (!wbmpWindow_)
    wbmpWindow_ = new WbmpWindow(editor_, prompts_, documentPath_, &window_);
  wbmpWindow_->setPicture(picture, path);
  wbmpWindow_->show();
  wbmpWindow_->raise();
}

} // namespace tessera
