#include "bench/PeakHeap.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<std::size_t> inUse{0};
std::atomic<std::size_t> highest{0};

void* allocate(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    const std::size_t now = inUse.fetch_add(malloc_usable_size(block)) + malloc_usable_size(block);
    std::size_t seen = highest.load(std::memory_order_relaxed);
    while (now > seen && !highest.compare_exchange_weak(seen, now)) {
    }
    return block;
}

void release(void* block) noexcept {
    if (block != nullptr) {
        inUse.fetch_sub(malloc_usable_size(block));
        std::free(block);
    }
}

} // namespace

// libstdc++'s array, nothrow and sized forms call these two.
void* operator new(std::size_t size) {
    return allocate(size);
}
void operator delete(void* block) noexcept {
    release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    release(block);
}

namespace OrvelBench {

std::size_t heapInUse() {
    return inUse.load();
}

PeakHeap::PeakHeap() : base_(inUse.load()) {
    highest.store(base_);
}

void PeakHeap::report(benchmark::State& state, std::size_t textSize) const {
    const std::size_t peak = highest.load() > base_ ? highest.load() - base_ : 0;
    state.counters["peak_heap_MB"] = static_cast<double>(peak) / 1e6;
    if (textSize > 0) {
        state.counters["peak_heap_x"] = static_cast<double>(peak) / static_cast<double>(textSize);
    }
}

} // namespace OrvelBench
