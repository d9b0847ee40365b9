#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace tessera {

class DropDownMenuEditor;
class Prompts;
class SiteWizard;
class SourceEditor;
class TableEditor;

// The three generator windows, created once with the main window and shown
// modally by their commands.
class Generators : public QObject {
  Q_OBJECT
public:
  Generators(SourceEditor& editor, Prompts& prompts, QWidget* mainWindow);

  // Wires the menu commands (their toolbar buttons run the same items).
  void connectCommands(QAction* tableEditor, QAction* dropDownMenuEditor, QAction* siteWizard);

  TableEditor* tableEditor() const { return tableEditor_; }
  DropDownMenuEditor* dropDownMenuEditor() const { return dropDownMenuEditor_; }
  SiteWizard* siteWizard() const { return siteWizard_; }

private:
  TableEditor* tableEditor_;
  DropDownMenuEditor* dropDownMenuEditor_;
  SiteWizard* siteWizard_;
};

} // namespace tessera
