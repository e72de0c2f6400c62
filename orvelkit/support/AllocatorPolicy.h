#pragma once

// How the process's allocator treats freed memory.
//
// glibc's malloc returns the free top of its heap to the system as soon as it
// exceeds a threshold that starts at 128 kB and adapts upwards as large
// blocks are freed, at most to 64 MB. A process that handles texts of tens of
// megabytes (a large sync answer, loading and saving the inbox file) gives
// the memory of each one back and faults every page in again for the next:
// 15,000 page faults for a 55 MB sync answer, more than a third of the cost
// of decoding it. Applying the policy at start-up sets the thresholds where
// the adaptation would end anyway (blocks from 32 MB on get their own
// mapping and go back when freed; up to 64 MB of free heap is kept), so the
// process does not pay for reaching them.
//
// Process-wide: call once from main(), before other threads start.

#include <cstddef>

namespace OrvelKit {

struct AllocatorPolicy {
    // Blocks of at least this size are mapped on their own and returned to
    // the system when freed.
    std::size_t ownMappingFrom = std::size_t{32} << 20;
    // Free memory at the top of the heap beyond this is returned.
    std::size_t keptFreeTop = std::size_t{64} << 20;
};

// Applies `policy`; false where the allocator offers no such settings (the
// policy then has no effect).
bool applyAllocatorPolicy(const AllocatorPolicy& policy = {});

// Returns the heap's free memory to the system, wherever it lies (the policy
// keeps only the free top). For after a large text or answer is done with:
// its many small blocks, once freed, are scattered over the heap and would
// stay resident for the rest of the process's life. Takes milliseconds for a
// heap of hundreds of megabytes; does nothing where the allocator cannot.
void returnFreeMemory();

} // namespace OrvelKit
