#include "serve/ScriptCompiling.h"

namespace tessera::serve {

// The program has no WMLScript compiler yet: a script asked for compiled
// is answered with this error rather than with bytes a phone cannot run.
CompiledScript compileScriptSource(const QString&) {
  return {false, {}, QStringLiteral("this build cannot compile WMLScript")};
}

} // namespace tessera::serve
