#include "serve/CompiledCache.h"

#include <QCryptographicHash>

namespace tessera::serve {

Compiled CompiledCache::get(const QString& key, const QByteArray& source, const Compile& compile) {
  const QByteArray digest = QCryptographicHash::hash(source, QCryptographicHash::Sha256);
  {
    QMutexLocker lock(&mutex_);
    auto slot = slots_.find(key);
    if (slot != slots_.end() && slot->digest == digest) {
      slot->lastUse = ++clock_;
      return slot->result;
    }
  }
  // Two threads may compile the same revision at once; both results are
  // the same, and holding no lock while compiling keeps other files served.
  Compiled result = compile(source);
  QMutexLocker lock(&mutex_);
  ++compilations_;
  if (!slots_.contains(key) && slots_.size() >= capacity_) {
    auto oldest = slots_.begin();
    for (auto it = slots_.begin(); it != slots_.end(); ++it)
      if (it->lastUse < oldest->lastUse)
        oldest = it;
    slots_.erase(oldest);
  }
  slots_.insert(key, Slot{digest, result, ++clock_});
  return result;
}

int CompiledCache::compilations() const {
  QMutexLocker lock(&mutex_);
  return compilations_;
}

int CompiledCache::size() const {
  QMutexLocker lock(&mutex_);
  return int(slots_.size());
}

} // namespace tessera::serve
