#include "app/CheckMode.h"
#include "app/CommandLine.h"

namespace tessera {

const QList<CommandLineMode>& commandLineModes() {
  static const QList<CommandLineMode> modes{
      {QStringLiteral("--check"), QStringLiteral("FILE..."),
       QStringLiteral("Checks each WML deck and prints FILE:LINE:COLUMN: error: message (or "
                      "warning:) for every finding; exits 1 when any deck has an error, 2 when a "
                      "file cannot be read."),
       runCheckMode},
  };
  return modes;
}

} // namespace tessera
