#include "deck/ProblemsList.h"

#include <QDir>
#include <QHeaderView>

namespace tessera {

namespace {
constexpr int kLineRole = Qt::UserRole;
constexpr int kColumnRole = Qt::UserRole + 1;
constexpr int kPathRole = Qt::UserRole + 2;
// A site's group row: the path inside the site of the file it holds.
constexpr int kGroupRole = Qt::UserRole + 3;

QTreeWidgetItem* noProblemsRow() {
  return new QTreeWidgetItem({QString(), QString(), QString(), ProblemsList::noProblemsText()});
}

QString counted(int count, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}
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
  setColumnWidth(LineNumberColumn, 60);
  setColumnWidth(ColumnNumberColumn, 60);
  setColumnWidth(SeverityColumn, 70);
  // Numbers line up on the right, under headers that do too.
  headerItem()->setTextAlignment(LineNumberColumn, Qt::AlignRight | Qt::AlignVCenter);
  headerItem()->setTextAlignment(ColumnNumberColumn, Qt::AlignRight | Qt::AlignVCenter);
  connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const QVariant line = item->data(LineNumberColumn, kLineRole);
    if (!line.isValid())
      return;
    const LineColumn place{line.toInt(), item->data(LineNumberColumn, kColumnRole).toInt()};
    const QVariant path = item->data(LineNumberColumn, kPathRole);
    if (path.isValid())
      emit fileProblemChosen(path.toString(), place);
    else
      emit problemChosen(place);
  });
}

QString ProblemsList::noProblemsText() { return QStringLiteral("No problems found"); }

QString ProblemsList::groupText(const QString& path, const QList<wml::Finding>& findings) {
  int errors = 0, warnings = 0, notes = 0;
  for (const wml::Finding& finding : findings)
    (finding.severity == wml::Severity::Error     ? errors
     : finding.severity == wml::Severity::Warning ? warnings
                                                  : notes)++;
  QStringList counts;
  if (errors)
    counts.append(counted(errors, "error", "errors"));
  if (warnings)
    counts.append(counted(warnings, "warning", "warnings"));
  if (notes)
    counts.append(counted(notes, "note", "notes"));
  return QStringLiteral("%1 (%2)").arg(path, counts.join(QStringLiteral(", ")));
}

QTreeWidgetItem* ProblemsList::findingRow(const wml::Finding& finding) {
  const bool placed = finding.start.known();
  auto* row = new QTreeWidgetItem({placed ? QString::number(finding.start.line) : QString(),
                                   placed ? QString::number(finding.start.column) : QString(),
                                   wml::severityName(finding.severity), finding.message});
  if (placed) {
    row->setData(LineNumberColumn, kLineRole, finding.start.line);
    row->setData(LineNumberColumn, kColumnRole, finding.start.column);
  }
  row->setTextAlignment(LineNumberColumn, Qt::AlignRight | Qt::AlignVCenter);
  row->setTextAlignment(ColumnNumberColumn, Qt::AlignRight | Qt::AlignVCenter);
  row->setToolTip(MessageColumn, finding.message);
  return row;
}

void ProblemsList::showFindings(const QList<wml::Finding>& findings) {
  setUpdatesEnabled(false);
  clear();
  showsSite_ = false;
  setRootIsDecorated(false);
  QList<QTreeWidgetItem*> rows;
  rows.reserve(findings.size());
  for (const wml::Finding& finding : findings)
    rows.append(findingRow(finding));
  if (rows.isEmpty())
    rows.append(noProblemsRow());
  addTopLevelItems(rows);
  setUpdatesEnabled(true);
}

void ProblemsList::fillGroup(QTreeWidgetItem* group, const QString& path,
                             const QList<wml::Finding>& findings) {
  const QDir root(siteFolder_);
  group->setData(LineNumberColumn, kGroupRole, path);
  group->setText(LineNumberColumn,
                 groupText(path.isEmpty() ? root.dirName() + u'/' : path, findings));
  const QString absolute = path.isEmpty() ? QString() : root.filePath(path);
  QList<QTreeWidgetItem*> rows;
  rows.reserve(findings.size());
  for (const wml::Finding& finding : findings) {
    QTreeWidgetItem* row = findingRow(finding);
    if (finding.start.known())
      row->setData(LineNumberColumn, kPathRole, absolute);
    rows.append(row);
  }
  group->addChildren(rows);
}

void ProblemsList::showSiteFindings(const QString& folder,
                                    const QList<wml::site::SiteFinding>& findings) {
  setUpdatesEnabled(false);
  clear();
  showsSite_ = true;
  siteFolder_ = folder;
  setRootIsDecorated(true);
  QList<QTreeWidgetItem*> groups;
  // The findings come sorted by path: each run of one path is a group.
  for (qsizetype first = 0; first < findings.size();) {
    const QString path = findings.at(first).path;
    qsizetype end = first;
    QList<wml::Finding> ofFile;
    while (end < findings.size() && findings.at(end).path == path)
      ofFile.append(findings.at(end++).finding);
    auto* group = new QTreeWidgetItem;
    fillGroup(group, path, ofFile);
    groups.append(group);
    first = end;
  }
  if (groups.isEmpty())
    groups.append(noProblemsRow());
  addTopLevelItems(groups);
  for (QTreeWidgetItem* group : groups)
    group->setFirstColumnSpanned(true);
  expandAll();
  setUpdatesEnabled(true);
}

void ProblemsList::replaceSiteGroup(const QString& path, const QList<wml::Finding>& findings) {
  if (!showsSite_)
    return;
  // The groups stand sorted by path (the site as a whole first): the file's
  // group, or the place of a new one, is found by walking them.
  int index = 0;
  QTreeWidgetItem* group = nullptr;
  for (; index < topLevelItemCount(); ++index) {
    QTreeWidgetItem* item = topLevelItem(index);
    const QVariant itemPath = item->data(LineNumberColumn, kGroupRole);
    if (!itemPath.isValid())
      continue; // the row that says there are no problems
    if (itemPath.toString() == path) {
      group = item;
      break;
    }
    if (path < itemPath.toString())
      break;
  }
  if (findings.isEmpty()) {
    if (!group)
      return;
    delete takeTopLevelItem(index);
    if (topLevelItemCount() == 0)
      addTopLevelItem(noProblemsRow());
    return;
  }
  if (group) {
    qDeleteAll(group->takeChildren());
  } else {
    if (topLevelItemCount() == 1 &&
        !topLevelItem(0)->data(LineNumberColumn, kGroupRole).isValid()) {
      delete takeTopLevelItem(0);
      index = 0;
    }
    group = new QTreeWidgetItem;
    insertTopLevelItem(index, group);
    group->setFirstColumnSpanned(true);
  }
  fillGroup(group, path, findings);
  group->setExpanded(true);
}

} // namespace tessera
