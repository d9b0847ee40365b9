#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// A file's bytes, read or written whole, for tests that look at what the
// program put on the disk.

// "<unreadable>" when the file cannot be read, so it never equals content.
inline QByteArray readFileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Whether every byte was written; when not, the running test fails too, so
// a test that prepares a file need not check the answer.
inline bool writeFileBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  const bool written = f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
  return QTest::qVerify(written, "writeFileBytes", qPrintable(path), __FILE__, __LINE__);
}
