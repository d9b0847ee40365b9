#pragma once

#include "app/CommandLine.h"

#include <QByteArray>
#include <QString>
#include <QTextStream>

#include <optional>

namespace tessera {

// What the file-converting modes (--compile, --decompile, --wbmp) share:
// their one input file, read whole, and the file they write.

// The mode's single operand, or nothing after a usage error (`*status`).
std::optional<QString> singleInput(const ModeContext& context, int* status);

// The file's bytes, or nothing after "PATH: cannot read: WHY" on `err`. A
// deck or a picture larger than 256 MiB is not one for a phone.
std::optional<QByteArray> readModeInput(const QString& path, QTextStream& err);

// Writes the whole file or nothing (an existing one is replaced in one
// step, keeping its permissions), saying why on `err`.
bool writeModeOutput(const QString& path, const QByteArray& bytes, QTextStream& err);

} // namespace tessera
