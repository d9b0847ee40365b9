#include "platform/MemoryTuning.h"

#include <QTest>

#include <cstdlib>
#include <vector>

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

class MemoryTuningTest : public QObject {
  Q_OBJECT
private slots:
  void smallFreesAreMergedAtOnce();
};

void MemoryTuningTest::smallFreesAreMergedAtOnce() {
#if defined(M_MXFAST) // glibc's allocator
  tessera::tuneMemoryAllocator();
  // Many more small blocks of a few sizes than the per-thread caches hold,
  // freed: none may wait unmerged in a fast bin.
  std::vector<void*> blocks;
  for (int i = 0; i < 3000; ++i)
    blocks.push_back(std::malloc(16 + 16 * (i % 4)));
  for (std::size_t i = 0; i < blocks.size(); i += 2) // every other, so neighbours stay in use
    std::free(blocks[i]);
  QCOMPARE(mallinfo2().fsmblks, std::size_t(0));
  for (std::size_t i = 1; i < blocks.size(); i += 2)
    std::free(blocks[i]);
#else
  QSKIP("the C library's allocator is not glibc's");
#endif
}

QTEST_APPLESS_MAIN(MemoryTuningTest)
#include "tst_memorytuning.moc"
