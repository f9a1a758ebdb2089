#include "common/memorypolicy.h"

#include <cstdlib> // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace velmora {

void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    constexpr int kFromHeapUpTo = 32 << 20; // the largest the C library allows
    constexpr int kKeepFreed = 64 << 20;
    mallopt(M_MMAP_THRESHOLD, kFromHeapUpTo);
    mallopt(M_TRIM_THRESHOLD, kKeepFreed);
#endif
}

} // namespace velmora
