#pragma once

#include "wml/Finding.h"
#include "wml/site/SiteModel.h"

#include <QTreeWidget>

namespace tessera {

// The findings of the last check. For a deck: one row each (Line, Column,
// Severity, Message) in the order of their places; one row "No problems
// found" when there are none. For a site: a row per file with its counts,
// its findings below it. Activating a finding (double click, Enter) asks
// for the caret to go there.
class ProblemsList : public QTreeWidget {
  Q_OBJECT
public:
  enum Column { LineNumberColumn, ColumnNumberColumn, SeverityColumn, MessageColumn };

  explicit ProblemsList(QWidget* parent = nullptr);

  void showFindings(const QList<wml::Finding>& findings);
  // The findings of a site check of `folder` (absolute), grouped by file.
  void showSiteFindings(const QString& folder, const QList<wml::site::SiteFinding>& findings);
  // Replaces the group of one file of the shown site (a path inside it, as
  // the site's findings name it) with `findings`: a group made in its place
  // among the others when there was none, taken away when there are none.
  // The other groups, and which are expanded, stay as they are.
  void replaceSiteGroup(const QString& path, const QList<wml::Finding>& findings);
  bool showsSite() const { return showsSite_; }
  static QString noProblemsText();
  // "index.wml (2 errors, 1 warning)"
  static QString groupText(const QString& path, const QList<wml::Finding>& findings);

signals:
  void problemChosen(tessera::LineColumn place);
  // A finding of a site check: the file's absolute path.
  void fileProblemChosen(const QString& path, tessera::LineColumn place);

private:
  QTreeWidgetItem* findingRow(const wml::Finding& finding);
  void fillGroup(QTreeWidgetItem* group, const QString& path, const QList<wml::Finding>& findings);
  bool showsSite_ = false;
  QString siteFolder_;
};

} // namespace tessera
