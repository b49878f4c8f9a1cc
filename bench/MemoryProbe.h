// Memory figures for the benchmarks: heap bytes in use and their peak, and
// the peak resident set size of the process.
#pragma once

#include <cstddef>
#include <string>

namespace lintaro::bench {

// How the heap is counted: "malloc" (every C and C++ allocation of the
// process, stdio buffers included, in usable bytes) or "none" (a sanitizer
// owns the allocator, or the C library cannot be interposed).
const char* heapCounterKind();
bool heapCounted();

// Heap bytes in use now.
long long heapInUse();
// Starts a new peak at the current use; heapPeak() is then the highest use
// since.
void resetHeapPeak();
long long heapPeak();

// Allocates with every allocation function (new, new[], aligned new, malloc,
// calloc, realloc, aligned_alloc, posix_memalign, a stdio buffer) and checks
// that each is counted and released. Empty when all are; otherwise the list
// of what was missed.
std::string heapCounterSelfTest();

// Resets the peak resident set size (Linux: /proc/self/clear_refs); false
// when the system does not allow it.
bool resetPeakRss();
// Peak resident set size since the last reset (or since the start), and the
// current one, in KiB; -1 when unknown.
long peakRssKiB();
long currentRssKiB();

}  // namespace lintaro::bench
