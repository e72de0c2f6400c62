#pragma once

// The heap a benchmark holds at its peak, reported next to its time, so that
// a change that costs memory shows as plainly as one that costs time.
//
// Counts what goes through operator new (the parser's buffers, the records,
// their texts and lists): every benchmark program replaces it with a counting
// one. Memory that RapidJSON's output buffer takes with malloc, and files
// mapped into memory, are not counted.

#include <benchmark/benchmark.h>

#include <cstddef>

namespace OrvelBench {

// Bytes allocated through operator new and not yet freed.
std::size_t heapInUse();

// Watches the heap from construction: report() adds the highest it rose
// above where it started, in MB and as a multiple of `textSize` (the text
// being decoded or loaded; no multiple when 0).
class PeakHeap {
public:
    PeakHeap();
    void report(benchmark::State& state, std::size_t textSize = 0) const;

private:
    std::size_t base_;
};

} // namespace OrvelBench
