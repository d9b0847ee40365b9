#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace tessera {

class DropDownMenuEditor;
class Prompts;
class SiteWizard;
class EditorView;
class TableEditor;

// The three generator windows, each made when first needed (so they cost
// nothing at start-up), then kept with what was entered in them, and shown
// modally by their commands.
class Generators : public QObject {
  Q_OBJECT
public:
  Generators(EditorView& editor, Prompts& prompts, QWidget* mainWindow);

  // Wires the menu commands (their toolbar buttons run the same items).
  void connectCommands(QAction* tableEditor, QAction* dropDownMenuEditor, QAction* siteWizard);

  TableEditor* tableEditor();
  DropDownMenuEditor* dropDownMenuEditor();
  SiteWizard* siteWizard();

private:
  EditorView& editor_;
  Prompts& prompts_;
  QWidget* mainWindow_;
  TableEditor* tableEditor_ = nullptr;
  DropDownMenuEditor* dropDownMenuEditor_ = nullptr;
  SiteWizard* siteWizard_ = nullptr;
};

} // namespace tessera
