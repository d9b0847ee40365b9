#include "app/ProgramModes.h"

#include "app/InspectMode.h"
#include "app/ServeCommandLine.h"
#include "app/WbmpCommandLine.h"

namespace tessera {

ModeRunner programModeRunner(const QString& name) {
  if (name == QLatin1String("wbmp"))
    return runWbmpMode;
  if (name == QLatin1String("serve"))
    return runServeMode;
  if (name == QLatin1String("inspect"))
    return runInspectMode;
  return nullptr;
}

} // namespace tessera
