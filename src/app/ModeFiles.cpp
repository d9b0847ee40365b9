#include "app/ModeFiles.h"

#include "document/FileReading.h"

#include <QSaveFile>

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
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
    return true;
  err << (QStringLiteral("%1: cannot write: %2\n").arg(path, file.errorString()));
  return false;
}

} // namespace tessera
