#include "serve/CompiledCache.h"

#include <QCryptographicHash>

namespace tessera::serve {

Compiled CompiledCache::get(const QString& key, const QByteArray& source, const Compile& compile) {
  const QByteArray digest = QCryptographicHash::hash(source, QCryptographicHash::Sha256);
  QMutexLocker lock(&mutex_);
  for (;;) {
    auto slot = slots_.find(key);
    if (slot != slots_.end() && slot->digest == digest) {
      slot->lastUse = ++clock_;
      return slot->result;
    }
    if (!compiling_.contains(key))
      break;
    // Another thread compiles this file: ten phones asking at once for a
    // deck just saved wait for one compilation, not ten.
    compiled_.wait(&mutex_);
  }
  compiling_.insert(key);
  lock.unlock();
  // No lock while compiling, so that other files are served meanwhile.
  Compiled result = compile(source);
  lock.relock();
  compiling_.remove(key);
  ++compilations_;
  if (!slots_.contains(key) && slots_.size() >= capacity_) {
    auto oldest = slots_.begin();
    for (auto it = slots_.begin(); it != slots_.end(); ++it)
      if (it->lastUse < oldest->lastUse)
        oldest = it;
    slots_.erase(oldest);
  }
  slots_.insert(key, Slot{digest, result, ++clock_});
  compiled_.wakeAll();
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
