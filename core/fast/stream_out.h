// Stores that go around the caches, for long signals' outputs.  Compiled
// into each instruction set's kernels (internal linkage, see simd.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "simd.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// Signals of at least this many samples (8 MiB, more than a core's share
// of the last-level cache), and circular filters' lines as long, write
// their outputs around the caches: each cache line written the ordinary way
// is first read, a third more traffic.
// Measured on 1 x 2^20 and 1 x 2^21 signals: the synthesis 0.71x and 0.88x
// the time, the analysis even and 0.78x; in Octave, a call on 2^20 samples
// followed by a sum of its result (which reads it from memory) 0.89x
// (synthesis) and 0.95x (analysis).  A circular filter's line: 2^22
// samples 0.63x to 0.83x, 2^24 0.94x; in Octave 2^20 and 2^21 0.4x to 0.9x.
constexpr std::int64_t kStreamedSignal = std::int64_t{1} << 20;

// Samples from `at` to the next whole vector of W doubles (0 when at lies
// on one); -1 for a double* off the 8-byte grid, which reaches none.
template <int W>
inline int samplesToVector(const double* at) {
    const std::uintptr_t a = reinterpret_cast<std::uintptr_t>(at);
    if (a % sizeof(double) != 0) return -1;
    return static_cast<int>((sizeof(Vec<W>) - a % sizeof(Vec<W>)) % sizeof(Vec<W>) / sizeof(double));
}

// Stores a vector around the caches where the processor can; `to` lies on
// a whole vector.
template <int W>
__attribute__((always_inline)) inline void streamStore(double* to, Vec<W> v) {
#if defined(__x86_64__)
    if constexpr (W == 8)
        _mm512_stream_pd(to, (__m512d)v);
    else if constexpr (W == 4)
        _mm256_stream_pd(to, (__m256d)v);
    else
        _mm_stream_pd(to, (__m128d)v);
#else
    store<W>(to, v);
#endif
}

// A long signal crosses a 4 KiB page of each array it runs through every
// 512 samples, and each crossing misses the processor's address
// translation cache (a signal of 2^24 samples spans 32 Ki pages in and as
// many out, more than that cache holds).  Under a hypervisor every miss
// walks two sets of page tables.  Stores that go around the caches are
// never fetched ahead, so the walk for each new page of an output started
// only at its first store, and the stores waited for it.  A fetch of one
// line two pages on starts the walk early.
// Measured on Zen 5 under a hypervisor (K = 8, L = 3, paired runs): 1 x 2^24
// analysis 0.77x to 0.86x the time, synthesis 0.78x to 0.90x; 2^22 0.71x to
// 0.96x and 0.70x to 0.87x; 2^20 0.92x to 1.0x and 0.93x to 1.06x.  One page
// on gained less; the same fetch on the inputs (which the kernels fetch
// ahead already) cost 1.07x to 1.2x.
constexpr std::uintptr_t kPageBytes = 4096;
constexpr std::ptrdiff_t kWalkAhead = 1024;  // samples: two pages on

// Called for each of a run of consecutive blocks of blockBytes (at most a
// page) that go around the caches from `at` on: the one block per page that
// starts within the page's first blockBytes fetches the line kWalkAhead
// samples on.  (Near the end of an output that line lies past it: a fetch
// never faults, and the address is formed as an integer, not a pointer
// beyond the array.)
__attribute__((always_inline)) inline void walkAhead(const double* at, std::size_t blockBytes) {
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(at);
    if (address % kPageBytes < blockBytes)
        __builtin_prefetch(reinterpret_cast<const void*>(address + kWalkAhead * sizeof(double)), 1);
}

// Orders the streamed stores before everything after: called before a
// kernel that streamed returns.
inline void streamedOut() {
#if defined(__x86_64__)
    _mm_sfence();
#endif
}

}  // namespace
