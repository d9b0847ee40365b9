#include "app/Backup.h"

#include "document/DocumentFiles.h"
#include "platform/Hint.h"
#include "platform/Prompts.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tessera {

Backup::Backup(QAction* toggleItem, DocumentFiles& files, Prompts& prompts, const QString& folder,
               QWidget* dialogParent)
    : item_(toggleItem), files_(files), prompts_(prompts), folder_(folder), parent_(dialogParent) {
  timer_.setObjectName(QStringLiteral("Timer1"));
  timer_.setInterval(kDefaultInterval);
  connect(&timer_, &QTimer::timeout, this, &Backup::writeBackup);
  item_->setCheckable(true);
  // A checkable item flips its own mark before it triggers; toggle()
  // decides from the timer and sets the mark itself.
  connect(item_, &QAction::triggered, this, &Backup::toggle);
  setOn(false);
}

QString Backup::enableHint() {
  return QStringLiteral("Automatic saving (backup) in every 5 minutes to the program directory "
                        "(folder) under the name backup.wml");
}

QString Backup::disableHint() { return QStringLiteral("Disabling automatic saving"); }

QString Backup::folderFor(const QString& programFolder) {
  const QFileInfo info(programFolder);
  if (info.isDir() && info.isWritable())
    return programFolder;
  const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                       QStringLiteral("/tessera");
  QDir().mkpath(home);
  return home;
}

QString Backup::filePath() const { return QDir(folder_).filePath(fileName()); }

void Backup::setInterval(int milliseconds) { timer_.setInterval(milliseconds); }

void Backup::toggle() { setOn(!timer_.isActive()); }

void Backup::setOn(bool on) {
  if (on)
    timer_.start(); // the count starts from this moment
  else
    timer_.stop();
  item_->setChecked(on);
  setHint(item_, on ? disableHint() : enableHint());
}

void Backup::writeBackup() {
  QString reason;
  if (writeFileAtomically(filePath(), files_.documentBytes(), &reason))
    return;
  // The timer keeps running, so the next tick tries again. While one error
  // box is open, further failures do not stack more boxes on it.
  if (reporting_)
    return;
  reporting_ = true;
  prompts_.error(parent_, cannotCreateFileText(filePath(), reason));
  reporting_ = false;
}

} // namespace tessera
