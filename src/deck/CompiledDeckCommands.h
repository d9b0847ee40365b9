#pragma once

#include "wml/Finding.h"

#include <QObject>

#include <functional>

class QAction;
class QActionGroup;
class QMainWindow;

namespace tessera {

class CompiledSizePanel;
class DeckService;
class DeckMenu;
class Prompts;
class EditorView;
class WbmpWindow;

// The compiled-deck items of the "Deck" menu, after a separator: "Phone
// Budget" (Budget1397 ... BudgetNone, 1397 at start), "Compile to WBXML..."
// (CompileDeck1; it asks first when the checks find an error) and "Convert
// Image to WBMP..." (ConvertWbmp1), both saying in the status line what
// they wrote; and the size meter, fed by every parse the deck service
// publishes.
class CompiledDeckCommands : public QObject {
  Q_OBJECT
public:
  CompiledDeckCommands(QMainWindow& window, EditorView& editor, DeckMenu& menu,
                       DeckService& service, Prompts& prompts,
                       std::function<QString()> documentPath);

  CompiledSizePanel* panel() const { return panel_; }
  // The chosen budget in bytes; 0 for none.
  int budget() const;

  static constexpr int kBudgets[] = {1397, 1492, 2048, 3000};

  // The commands, for the menu items and tests.
  void compileToFile();
  void convertImage();

private:
  void chooseBudget();
  // Whether the document is a WMLScript unit (by its file name).
  bool isScript() const;
  void compileScriptToFile();
  QList<wml::Finding> findingsNow(const QString& text) const;

  QMainWindow& window_;
  EditorView& editor_;
  DeckService& service_;
  Prompts& prompts_;
  std::function<QString()> documentPath_;
  CompiledSizePanel* panel_;
  QActionGroup* budgets_;
  WbmpWindow* wbmpWindow_ = nullptr;
};

} // namespace tessera
