// The instruction sets the fast kernels are built for, and which one this
// processor runs best.  Every set gives bit-identical results.
#pragma once

// Builds with a compiler that lacks GCC/Clang vector extensions (MSVC) define
// PLUGINS_FAST_KERNELS=0: no kernels are compiled and the reference serves
// every call, with the same results.
#ifndef PLUGINS_FAST_KERNELS
#define PLUGINS_FAST_KERNELS 1
#endif

namespace fast {

enum class Isa {
    Reference,  // the straightforward scalar implementation, one line at a time
    Baseline,   // 2 lanes: SSE2 on x86-64, NEON on arm64
    Avx2,       // 4 lanes (x86-64 only)
    Avx512,     // 8 lanes (x86-64 only)
};

// Whether this build has the set and this processor runs it.
bool supported(Isa isa);
Isa best();

// Filters longer than this gain nothing from the kernels' interleaved scratch
// (which grows with K); they use the reference implementation.
constexpr int kMaxTaps = 512;

}  // namespace fast
