#pragma once

#include <QByteArray>
#include <QString>

namespace tessera::serve {

struct CompiledScript {
  bool ok = false;
  QByteArray bytecode;
  QString error; // why there is no bytecode
};

// A WMLScript compilation unit's source to its bytecode.
CompiledScript compileScriptSource(const QString& source);

} // namespace tessera::serve
