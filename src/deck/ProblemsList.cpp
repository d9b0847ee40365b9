#include "deck/ProblemsList.h"

#include <QHeaderView>

namespace tessera {

namespace {
constexpr int kLineRole = Qt::UserRole;
constexpr int kColumnRole = Qt::UserRole + 1;
} // namespace

ProblemsList::ProblemsList(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("ProblemsList"));
  setColumnCount(4);
  setHeaderLabels({QStringLiteral("Line"), QStringLiteral("Column"), QStringLiteral("Severity"),
                   QStringLiteral("Message")});
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  header()->setStretchLastSection(true);
  header()->setSectionsMovable(false);
  setColumnWidth(LineColumn, 60);
  setColumnWidth(ColumnColumn, 60);
  setColumnWidth(SeverityColumn, 70);
  // Numbers line up on the right, under headers that do too.
  headerItem()->setTextAlignment(LineColumn, Qt::AlignRight | Qt::AlignVCenter);
  headerItem()->setTextAlignment(ColumnColumn, Qt::AlignRight | Qt::AlignVCenter);
  connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const QVariant line = item->data(LineColumn, kLineRole);
    if (line.isValid())
      emit problemChosen(line.toInt(), item->data(LineColumn, kColumnRole).toInt());
  });
}

QString ProblemsList::noProblemsText() { return QStringLiteral("No problems found"); }

void ProblemsList::showFindings(const QList<wml::Finding>& findings) {
  setUpdatesEnabled(false);
  clear();
  QList<QTreeWidgetItem*> rows;
  rows.reserve(findings.size());
  for (const wml::Finding& finding : findings) {
    auto* row = new QTreeWidgetItem({QString::number(finding.line), QString::number(finding.column),
                                     wml::severityName(finding.severity), finding.message});
    row->setData(LineColumn, kLineRole, finding.line);
    row->setData(LineColumn, kColumnRole, finding.column);
    row->setTextAlignment(LineColumn, Qt::AlignRight | Qt::AlignVCenter);
    row->setTextAlignment(ColumnColumn, Qt::AlignRight | Qt::AlignVCenter);
    row->setToolTip(MessageColumn, finding.message);
    rows.append(row);
  }
  if (rows.isEmpty())
    rows.append(new QTreeWidgetItem({QString(), QString(), QString(), noProblemsText()}));
  addTopLevelItems(rows);
  setUpdatesEnabled(true);
}

} // namespace tessera
