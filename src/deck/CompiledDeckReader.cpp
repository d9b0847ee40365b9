#include "deck/CompiledDeckReader.h"

#include "wml/script/BytecodeReader.h"
#include "wml/script/LocalScriptHost.h"
#include "wml/wbxml/WbxmlDecoder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/resource.h>

namespace tessera {
namespace {

// AddressSanitizer reserves far more address space than any limit a real
// build would set; instrumented builds run the child without one.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kLimitAddressSpace = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kLimitAddressSpace = false;
#else
constexpr bool kLimitAddressSpace = true;
#endif
#else
constexpr bool kLimitAddressSpace = true;
#endif

} // namespace

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
  QProcess decoder;
  decoder.setChildProcessModifier([] {
    // Only async-signal-safe calls here: the child has not run exec yet.
    if (kLimitAddressSpace) {
      const rlimit memory{kMemoryLimitBytes, kMemoryLimitBytes};
      setrlimit(RLIMIT_AS, &memory);
    }
    const rlimit seconds{kTimeLimitMs / 1000, kTimeLimitMs / 1000};
    setrlimit(RLIMIT_CPU, &seconds);
  });
  decoder.start(program_, {mode, path});
  if (!decoder.waitForStarted()) {
    result.error = cannotOpen(QStringLiteral("the decoder could not be started"));
    return result;
  }
  // Output is read as it comes, so a full pipe never stalls the child.
  QByteArray output;
  QElapsedTimer clock;
  clock.start();
  while (!decoder.waitForFinished(100)) {
    output += decoder.readAllStandardOutput();
    if (clock.elapsed() > kTimeLimitMs || decoder.state() == QProcess::NotRunning)
      break;
  }
  if (decoder.state() != QProcess::NotRunning) {
    decoder.kill();
    decoder.waitForFinished();
    result.error = cannotOpen(QStringLiteral("decoding took too long"));
    return result;
  }
  output += decoder.readAllStandardOutput();
  const QString errors = QString::fromUtf8(decoder.readAllStandardError()).trimmed();
  if (decoder.exitStatus() != QProcess::NormalExit) {
    result.error = cannotOpen(QStringLiteral("the decoder stopped unexpectedly"));
  } else if (decoder.exitCode() != 0) {
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
