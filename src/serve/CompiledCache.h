#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QWaitCondition>

#include <functional>

namespace tessera::serve {

// What compiling a deck or script gave.
struct Compiled {
  bool ok = false;
  QByteArray bytes;
  QString error;
};

// Compiled results kept per file revision, shared by the server's threads:
// a revision is the source's bytes (their digest), so an edit on disk or in
// the editor compiles again and an unchanged file never does. One revision
// per source, the least recently used sources dropped beyond a bound.
class CompiledCache {
public:
  explicit CompiledCache(int capacity = 256) : capacity_(capacity) {}

  using Compile = std::function<Compiled(const QByteArray& source)>;
  // The compiled form of `source` for the file `key`, compiled (outside the
  // lock) only when this revision is not held; a request that comes while
  // the same file compiles waits for that result.
  Compiled get(const QString& key, const QByteArray& source, const Compile& compile);

  // How many times a source was compiled.
  int compilations() const;
  int size() const;

private:
  struct Slot {
    QByteArray digest;
    Compiled result;
    quint64 lastUse = 0;
  };

  const int capacity_;
  mutable QMutex mutex_;
  QHash<QString, Slot> slots_;
  QSet<QString> compiling_; // files being compiled just now
  QWaitCondition compiled_;
  quint64 clock_ = 0;
  int compilations_ = 0;
};

} // namespace tessera::serve
