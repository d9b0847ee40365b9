#include "app/ModeFiles.h"

#include "document/FileReading.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tessera {

namespace {
constexpr qint64 kInputLimit = 256 * 1024 * 1024;
} // namespace

std::optional<QString> singleInput(const ModeContext& context, int* status) {
  const QString mode = QStringLiteral("--") + context.mode.name;
  const QStringList operands = context.operands();
  if (operands.size() == 1)
    return operands.first();
  *status = context.usageError(operands.isEmpty()
                                   ? QStringLiteral("%1: the input file is missing").arg(mode)
                                   : QStringLiteral("%1 %2: one input file at a time")
                                         .arg(mode, operands.mid(1).join(u' ')));
  return std::nullopt;
}

std::optional<QByteArray> readModeInput(const QString& path, QTextStream& err) {
  FileReadResult read = readAtMost(path, kInputLimit);
  if (read.status == FileReadResult::Read)
    return std::move(read.bytes);
  err << (QStringLiteral("%1: cannot read: %2\n")
              .arg(path, read.status == FileReadResult::TooLarge ? QStringLiteral("too large")
                                                                 : read.reason));
  return std::nullopt;
}

bool writeModeOutput(const QString& path, const QByteArray& bytes, QTextStream& err) {
  // The bytes go to a file of their own beside the target, which then takes
  // the target's name in one step: a reader never sees half a file, and a
  // failed write leaves the old file as it was. Unlike a save file of the
  // user's own text, a file made from another is not forced to the disk
  // first (no compiler does that; it costs more than the compile).
  // Through a symbolic link, the file it names is the one replaced, and the
  // link stays.
  const QString canonical = QFileInfo(path).canonicalFilePath();
  const QFileInfo target(canonical.isEmpty() ? path : canonical);
  QFile file(QStringLiteral("%1/.%2.%3.part")
                 .arg(target.absolutePath(), target.fileName())
                 .arg(QCoreApplication::applicationPid()));
  bool written = file.open(QIODevice::WriteOnly | QIODevice::NewOnly) &&
                 file.write(bytes) == bytes.size() && file.flush();
  QString why = file.errorString();
  file.close();
  if (written && target.exists() &&
      !file.setPermissions(QFile::permissions(target.absoluteFilePath()))) {
    written = false;
    why = file.errorString();
  }
  if (written && std::rename(QFile::encodeName(file.fileName()).constData(),
                             QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
    written = false;
    why = QString::fromLocal8Bit(std::strerror(errno));
  }
  if (written)
    return true;
  if (file.exists())
    file.remove();
  err << (QStringLiteral("%1: cannot write: %2\n").arg(path, why));
  return false;
}

} // namespace tessera
