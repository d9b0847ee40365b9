#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QAction;
class QWidget;

namespace tessera {

class DocumentFiles;
class Prompts;

// Options > Backup Saving: while on, the document is copied to backup.wml
// in the program's folder at every tick. A copy, not a save: the modified
// flag, caret, selection and undo stay as they are.
class Backup : public QObject {
  Q_OBJECT
public:
  static constexpr int kDefaultInterval = 300000; // five minutes

  Backup(QAction* toggleItem, DocumentFiles& files, Prompts& prompts, const QString& folder,
         QWidget* dialogParent);

  static QString fileName() { return QStringLiteral("backup.wml"); }
  // Where backups go: the program's folder, or, for an installed program
  // whose folder the user cannot write, the user's data folder for it.
  static QString folderFor(const QString& programFolder);
  static QString enableHint();
  static QString disableHint();

  QString filePath() const;
  bool isOn() const { return timer_.isActive(); }
  // Tests use a short interval; a running count restarts with it.
  void setInterval(int milliseconds);
  int interval() const { return timer_.interval(); }
  QTimer& timer() { return timer_; }

  // The menu item: on when off, off when on.
  void toggle();
  // One tick: write the backup now.
  void writeBackup();

private:
  void setOn(bool on);

  QAction* item_;
  DocumentFiles& files_;
  Prompts& prompts_;
  QString folder_;
  QWidget* parent_;
  QTimer timer_;
  bool reporting_ = false;
};

} // namespace tessera
