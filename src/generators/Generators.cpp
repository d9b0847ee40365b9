#include "generators/Generators.h"

#include "generators/DropDownMenuEditor.h"
#include "generators/SiteWizard.h"
#include "generators/TableEditor.h"

#include <QAction>

namespace tessera {

Generators::Generators(EditorView& editor, Prompts& prompts, QWidget* mainWindow)
    : QObject(mainWindow), editor_(editor), prompts_(prompts), mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("Generators"));
}

void Generators::connectCommands(QAction* tableEditor, QAction* dropDownMenuEditor,
                                 QAction* siteWizard) {
  connect(tableEditor, &QAction::triggered, this, [this] { this->tableEditor()->exec(); });
  connect(dropDownMenuEditor, &QAction::triggered, this,
          [this] { this->dropDownMenuEditor()->exec(); });
  connect(siteWizard, &QAction::triggered, this, [this] { this->siteWizard()->exec(); });
}

TableEditor* Generators::tableEditor() {
  if (!tableEditor_)
    tableEditor_ = new TableEditor(editor_, prompts_, mainWindow_);
  return tableEditor_;
}

DropDownMenuEditor* Generators::dropDownMenuEditor() {
  if (!dropDownMenuEditor_)
    dropDownMenuEditor_ = new DropDownMenuEditor(editor_, mainWindow_);
  return dropDownMenuEditor_;
}

SiteWizard* Generators::siteWizard() {
  if (!siteWizard_)
    siteWizard_ = new SiteWizard(prompts_, mainWindow_);
  return siteWizard_;
}

} // namespace tessera
