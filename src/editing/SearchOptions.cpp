#include "editing/SearchOptions.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>

namespace tessera {

QCheckBox* addWholeWordBox(QWidget* parent) {
  auto* box = new QCheckBox(QStringLiteral("Match &whole word only"), parent);
  box->setObjectName(QStringLiteral("wholeWordCheck"));
  box->setChecked(false);
  box->setEnabled(false);
  return box;
}

QCheckBox* addMatchCaseBox(QWidget* parent) {
  auto* box = new QCheckBox(QStringLiteral("Match &case"), parent);
  box->setObjectName(QStringLiteral("matchCaseCheck"));
  box->setChecked(true);
  box->setEnabled(false);
  return box;
}

void showSearchBox(QDialog* box, QLineEdit* findEdit) {
  box->show();
  box->raise();
  box->activateWindow();
  findEdit->setFocus(Qt::OtherFocusReason);
  findEdit->selectAll();
}

} // namespace tessera
