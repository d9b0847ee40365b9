#include "deck/CompiledDeckReader.h"

#include "deck/LimitedChild.h"

#include "wml/script/BytecodeReader.h"
#include "wml/script/LocalScriptHost.h"
#include "wml/wbxml/WbxmlDecoder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace tessera {

QString cannotOpenCompiledDeckText(const QString& reason) {
  return QStringLiteral("Cannot open compiled deck: ") + reason;
}

QString CompiledDeckReader::defaultProgram() {
  const QString self = QCoreApplication::applicationFilePath();
  if (QFileInfo(self).baseName() == QLatin1String("tessera"))
    return self;
  const QString dir = QCoreApplication::applicationDirPath();
  for (const QString& candidate :
       {dir + QStringLiteral("/tessera"), dir + QStringLiteral("/../bin/tessera")})
    if (QFileInfo(candidate).isExecutable())
      return candidate;
  return self;
}

QString cannotOpenCompiledScriptText(const QString& reason) {
  return QStringLiteral("Cannot open compiled script: ") + reason;
}

wml::script::LoadedUnit readCompiledUnit(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {nullptr, file.errorString()};
  const auto checked = CompiledDeckReader()(path, file.read(16 * 1024 * 1024));
  if (!checked.recognised)
    return {nullptr, QStringLiteral("not WMLScript bytecode")};
  if (!checked.error.isEmpty()) {
    // The reason alone: the phone's error screen names the unit already.
    const QString prefix = cannotOpenCompiledScriptText(QString());
    return {nullptr,
            checked.error.startsWith(prefix) ? checked.error.mid(prefix.size()) : checked.error};
  }
  return wml::script::loadScriptFile(path);
}

DocumentFiles::ConvertedFile CompiledDeckReader::operator()(const QString& path,
                                                            const QByteArray& bytes) const {
  if (wml::wbxml::hasCompiledDeckHeader(bytes))
    return decodeInChild(QStringLiteral("--decompile"), path, cannotOpenCompiledDeckText);
  // Compiled WMLScript opens as its disassembly: something to read, not to
  // edit back into a unit.
  if (wml::script::hasCompiledScriptHeader(bytes))
    return decodeInChild(QStringLiteral("--disassemble"), path, cannotOpenCompiledScriptText);
  return {}; // text, as any other file
}

DocumentFiles::ConvertedFile
CompiledDeckReader::decodeInChild(const QString& mode, const QString& path,
                                  QString (*cannotOpen)(const QString&)) const {
  DocumentFiles::ConvertedFile result;
  result.recognised = true;
  const ChildRun child = runLimitedChild(program_, {mode, path}, kTimeLimitMs, kMemoryLimitBytes);
  if (!child.started) {
    result.error = cannotOpen(QStringLiteral("the decoder could not be started"));
    return result;
  }
  if (child.timedOut) {
    result.error = cannotOpen(QStringLiteral("decoding took too long"));
    return result;
  }
  const QString& errors = child.errors;
  const QByteArray& output = child.output;
  if (child.crashed) {
    result.error = cannotOpen(QStringLiteral("the decoder stopped unexpectedly"));
  } else if (child.exitCode != 0) {
    // The decoder names the file first, as every command-line error does;
    // the box names it already, and says what could not be opened.
    QString line = errors.section(u'\n', 0, 0);
    const QString named = path + QStringLiteral(": ");
    if (line.startsWith(named))
      line = line.mid(named.size());
    const QString deckWords = QStringLiteral("cannot open compiled deck: ");
    if (line.startsWith(deckWords))
      line = line.mid(deckWords.size());
    result.error = cannotOpen(line.isEmpty() ? QStringLiteral("unknown error") : line);
  } else {
    result.text = QString::fromUtf8(output);
  }
  return result;
}

} // namespace tessera
