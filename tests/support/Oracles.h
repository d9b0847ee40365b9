#pragma once

#include <QFileInfo>
#include <QString>

// The WMLScript reference programs (wmlsc, wmlsdasm) that scripts/oracles.sh
// unpacks into the build tree. Tests compare against them and skip when
// they are absent:
//   const QString wmlsc = oracleProgram("wmlsc");
//   if (wmlsc.isEmpty()) QSKIP("wmlsc is not unpacked (scripts/oracles.sh)");
inline QString oracleProgram(const QString& name) {
  const QFileInfo program(QStringLiteral(TESSERA_ORACLE_DIR) + QLatin1Char('/') + name);
  return program.isExecutable() ? program.absoluteFilePath() : QString();
}
