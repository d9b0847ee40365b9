#pragma once

#include "wml/Finding.h"

#include <QTreeWidget>

namespace tessera {

// The findings of the last check, one row each (Line, Column, Severity,
// Message) in the order of their places; one row "No problems found" when
// there are none. Activating a row (double click, Enter) asks for the caret
// to go there.
class ProblemsList : public QTreeWidget {
  Q_OBJECT
public:
  enum Column { LineColumn, ColumnColumn, SeverityColumn, MessageColumn };

  explicit ProblemsList(QWidget* parent = nullptr);

  void showFindings(const QList<wml::Finding>& findings);
  static QString noProblemsText();

signals:
  void problemChosen(int line, int column);
};

} // namespace tessera
