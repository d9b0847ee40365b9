#include "platform/MemoryTuning.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace tessera {

void tuneMemoryAllocator() {
#if defined(M_MXFAST) // glibc's allocator
  mallopt(M_MXFAST, 0);
#endif
}

} // namespace tessera
