#include "orvelkit/support/AllocatorPolicy.h"

#include <climits>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace OrvelKit {

bool applyAllocatorPolicy(const AllocatorPolicy& policy) {
#if defined(__GLIBC__)
    const auto asInt = [](std::size_t bytes) {
        return static_cast<int>(bytes < INT_MAX ? bytes : INT_MAX);
    };
    return mallopt(M_MMAP_THRESHOLD, asInt(policy.ownMappingFrom)) == 1 &&
           mallopt(M_TRIM_THRESHOLD, asInt(policy.keptFreeTop)) == 1;
#else
    (void)policy;
    return false;
#endif
}

void returnFreeMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace OrvelKit
