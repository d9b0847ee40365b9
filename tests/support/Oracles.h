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

// The shared folder of real decks and scripts beside the repository
// (../shared/corpus), or TESSERA_CORPUS when set; empty when absent, and
// the tests that read it skip themselves.
inline QString sharedCorpusFolder(const QString& sub) {
  const QByteArray variable = qgetenv("TESSERA_CORPUS");
  const QString root = variable.isEmpty() ? QStringLiteral(TESSERA_SOURCE_DIR "/../shared/corpus")
                                          : QString::fromLocal8Bit(variable);
  const QFileInfo folder(root + QLatin1Char('/') + sub);
  return folder.isDir() ? folder.absoluteFilePath() : QString();
}
