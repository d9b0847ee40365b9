#pragma once

#include "Oracles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

// Runs the reference compiler (wmlsc) on a source and sums up its answer
// the way the tables write it: "accepts", "error L" (the first line it
// names) or "crash L" (it reported line L, then died).
struct ReferenceAnswer {
  QString verdict;
  QByteArray bytecode; // what it wrote, when it accepted
  QString output;
};

inline ReferenceAnswer runReferenceCompiler(const QString& program, const QByteArray& source,
                                            const QString& fileName = QStringLiteral("unit")) {
  ReferenceAnswer answer;
  QTemporaryDir dir;
  const QString sourcePath = dir.filePath(fileName + QStringLiteral(".wmls"));
  QFile file(sourcePath);
  if (!file.open(QIODevice::WriteOnly) || file.write(source) != source.size())
    return {QStringLiteral("unwritable"), {}, {}};
  file.close();
  QProcess process;
  process.setWorkingDirectory(dir.path());
  process.start(program, {sourcePath});
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    return {QStringLiteral("timeout"), {}, {}};
  }
  answer.output =
      QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
  const QRegularExpressionMatch line =
      QRegularExpression(QStringLiteral(":(\\d+): ")).match(answer.output);
  const bool crashed = process.exitStatus() == QProcess::CrashExit;
  if (crashed || process.exitCode() != 0) {
    answer.verdict =
        QStringLiteral("%1 %2").arg(crashed ? QStringLiteral("crash") : QStringLiteral("error"),
                                    line.hasMatch() ? line.captured(1) : QStringLiteral("?"));
    return answer;
  }
  answer.verdict = QStringLiteral("accepts");
  QFile compiled(dir.filePath(fileName + QStringLiteral(".wmlsc")));
  if (compiled.open(QIODevice::ReadOnly))
    answer.bytecode = compiled.readAll();
  return answer;
}

// What the reference disassembler makes of a compiled unit: its listing,
// or an empty string and `error` set when it calls the file invalid (it
// says so on standard error but exits 0).
struct Disassembly {
  QString listing;
  QString error;
};

inline Disassembly runReferenceDisassembler(const QString& program, const QByteArray& bytecode) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("unit.wmlsc"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytecode) != bytecode.size())
    return {{}, QStringLiteral("unwritable")};
  file.close();
  QProcess process;
  process.start(program, {QStringLiteral("-n"), QStringLiteral("-f"), QStringLiteral("-c"), path});
  if (!process.waitForFinished(30000)) {
    process.kill();
    process.waitForFinished();
    return {{}, QStringLiteral("timeout")};
  }
  const QString errors = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
  if (process.exitStatus() == QProcess::CrashExit)
    return {{}, QStringLiteral("crashed ") + errors};
  if (process.exitCode() != 0 || !errors.isEmpty())
    return {{}, errors.isEmpty() ? QStringLiteral("exit %1").arg(process.exitCode()) : errors};
  return {QString::fromLocal8Bit(process.readAllStandardOutput()), {}};
}

// The function pool of a compiled unit, read straight from the bytes: a
// small walk over the pools kept apart from the program's own reader, so a
// comparison does not trust what it compares. Empty when the bytes do not
// end where the pools do.
struct CompiledFunction {
  QString name; // empty for a function that is not extern
  int arguments = 0;
  int locals = 0;
  QByteArray code;
};

inline QList<CompiledFunction> walkCompiled(const QByteArray& b) {
  qsizetype at = 0;
  bool ok = true;
  auto byte = [&]() -> quint32 {
    if (at >= b.size()) {
      ok = false;
      return 0;
    }
    return quint8(b[at++]);
  };
  auto multiByte = [&]() {
    quint32 value = 0, octet = 0;
    do {
      octet = byte();
      value = (value << 7) | (octet & 0x7F);
    } while (ok && (octet & 0x80));
    return value;
  };
  byte();
  multiByte();
  const quint32 constants = multiByte();
  multiByte();
  for (quint32 c = 0; ok && c < constants; ++c) {
    const quint32 type = byte();
    const int fixed[] = {1, 2, 4, 4};
    if (type <= 3)
      at += fixed[type];
    else if (type == 4 || type == 6)
      at += multiByte();
    else if (type != 5)
      ok = false;
  }
  const quint32 pragmas = multiByte();
  for (quint32 p = 0; ok && p < pragmas; ++p) {
    const quint32 type = byte();
    const int indexes[] = {1, 1, 2, 3};
    for (int i = 0; type <= 3 && i < indexes[type]; ++i)
      multiByte();
  }
  QList<CompiledFunction> functions(byte());
  const quint32 named = byte();
  for (quint32 n = 0; ok && n < named; ++n) {
    const quint32 index = byte();
    const quint32 length = byte();
    if (index < quint32(functions.size()))
      functions[index].name = QString::fromUtf8(b.mid(at, length));
    at += length;
  }
  for (CompiledFunction& f : functions) {
    f.arguments = int(byte());
    f.locals = int(byte());
    const quint32 size = multiByte();
    f.code = b.mid(at, size);
    at += size;
  }
  return ok && at == b.size() ? functions : QList<CompiledFunction>();
}

// "index name/arguments" for each function.
inline QStringList compiledFunctions(const QByteArray& bytecode) {
  QStringList result;
  const QList<CompiledFunction> functions = walkCompiled(bytecode);
  for (qsizetype f = 0; f < functions.size(); ++f)
    result << QStringLiteral("%1 %2/%3").arg(f).arg(functions[f].name).arg(functions[f].arguments);
  return result;
}
