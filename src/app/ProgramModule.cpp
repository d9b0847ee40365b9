#include "app/ProgramModule.h"

#include "app/ProgramEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>

namespace tessera {

namespace {

// The executable's own folder, without a QCoreApplication (the module makes
// the application object it needs).
QString executableFolder() {
  return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

} // namespace

int runProgramModule(int argc, char* argv[]) {
  const QString path = QDir::cleanPath(
      executableFolder() + QStringLiteral("/" TESSERA_MODULE_FOLDER "/" TESSERA_MODULE_FILE));
  QLibrary module(path);
  const auto entry = reinterpret_cast<decltype(&tesseraProgramMain)>(
      module.load() ? module.resolve("tesseraProgramMain") : nullptr);
  if (!entry) {
    std::fprintf(stderr, "tessera: cannot load the program module: %s\n",
                 qPrintable(module.errorString()));
    return 2;
  }
  // Left loaded: the toolkit's exit handlers may still run code of it.
  return entry(argc, argv);
}

} // namespace tessera
