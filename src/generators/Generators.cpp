#include "generators/Generators.h"

#include "generators/DropDownMenuEditor.h"
#include "generators/SiteWizard.h"
#include "generators/TableEditor.h"

#include <QAction>

namespace tessera {

Generators::Generators(SourceEditor& editor, Prompts& prompts, QWidget* mainWindow)
    : QObject(mainWindow), tableEditor_(new TableEditor(editor, prompts, mainWindow)),
      dropDownMenuEditor_(new DropDownMenuEditor(editor, mainWindow)),
      siteWizard_(new SiteWizard(prompts, mainWindow)) {
  setObjectName(QStringLiteral("Generators"));
}

void Generators::connectCommands(QAction* tableEditor, QAction* dropDownMenuEditor,
                                 QAction* siteWizard) {
  connect(tableEditor, &QAction::triggered, tableEditor_, &QDialog::exec);
  connect(dropDownMenuEditor, &QAction::triggered, dropDownMenuEditor_, &QDialog::exec);
  connect(siteWizard, &QAction::triggered, siteWizard_, &QDialog::exec);
}

} // namespace tessera
