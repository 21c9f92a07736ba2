// Stores that go around the caches, for long signals' outputs.  Compiled
// into each instruction set's kernels (internal linkage, see simd.h).
#pragma once

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

// Orders the streamed stores before everything after: called before a
// kernel that streamed returns.
inline void streamedOut() {
#if defined(__x86_64__)
    _mm_sfence();
#endif
}

}  // namespace
