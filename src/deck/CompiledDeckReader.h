#pragma once

#include "document/DocumentFiles.h"
#include "wml/script/ScriptHost.h"

#include <QString>

// Opening a compiled deck (.wmlc) or compiled script (.wmlsc). Recognised by
// content: a WBXML version byte and a WML public identifier; a WMLScript
// version byte and the code's exact size. The decoding itself runs in a
// child process (`tessera --decompile`, `--disassemble`) with a time and a
// memory limit, so
// that a hostile file can crash or exhaust only that process, never the
// editor and its unsaved text.
namespace tessera {

class CompiledDeckReader {
public:
  // The program that decodes; by default this program itself, or the
  // `tessera` beside (or in ../bin of) a test executable.
  static QString defaultProgram();

  explicit CompiledDeckReader(QString program = defaultProgram()) : program_(std::move(program)) {}

  DocumentFiles::ConvertedFile operator()(const QString& path, const QByteArray& bytes) const;

  static constexpr int kTimeLimitMs = 10000;
  static constexpr long kMemoryLimitBytes = 1024L * 1024 * 1024;

private:
  DocumentFiles::ConvertedFile decodeInChild(const QString& mode, const QString& path,
                                             QString (*cannotOpen)(const QString&)) const;
  QString program_;
};

// "Cannot open compiled deck: " + reason.
QString cannotOpenCompiledDeckText(const QString& reason);
// "Cannot open compiled script: " + reason.
QString cannotOpenCompiledScriptText(const QString& reason);

// A compiled WMLScript unit from a file: read in a child process first (a
// hostile file ends only that process), then loaded and verified. The
// error names no file: whoever shows it says which.
wml::script::LoadedUnit readCompiledUnit(const QString& path);

} // namespace tessera
