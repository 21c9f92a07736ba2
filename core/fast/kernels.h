// The inner loops of the fast paths, one set per instruction set.  The level
// and pass structure stays in each core's driver; only these loops differ.
//
// Two shapes of kernel serve every pass:
// - a row-group kernel filters G neighbouring rows at once (one SIMD lane per
//   row): the rows are gathered interleaved, so every tap is one contiguous
//   load of G samples, and results go back as contiguous stores;
// - a line kernel filters one contiguous line (a column, or a vector),
//   computing neighbouring outputs in the lanes of one vector.
// Either way each output is its own sum, formed in exactly the order of the
// straightforward code, so results are bit-identical.
#pragma once

#include <cstdint>

namespace fast {

struct AnalysisKernels {
    int groupRows;
    // Splits `groups` groups of groupRows rows, each `width` samples (even)
    // `stride` apart starting at src, into low then high halves written to dst
    // (which may be src).
    void (*rowGroups)(const double* src, double* dst, int stride, int groups, int width,
                      const double* h0, const double* h1, int K, double* work);
    // Splits one contiguous line of even length n in place.
    void (*line)(double* x, int n, const double* h0, const double* h1, int K, double* work);
    // One level of a v x w block (both even, at least 2), out of place: reads
    // the block from src (columns srcStride apart), writes rows then columns
    // split into dst (columns dstStride apart).
    void (*level)(const double* src, int srcStride, double* dst, int dstStride, int v, int w,
                  const double* h0, const double* h1, int K, double* work);
};

// Where a synthesis level reads its block from: the top-left quarter (the
// coarser level's result) from one array, everything else from another.
struct Block {
    const double* quarter;
    int quarterStride;
    const double* rest;
    int restStride;
};

struct SynthesisKernels {
    int groupRows;
    // Rebuilds `groups` groups of groupRows rows of `width` samples (even) in
    // place from their low (first half) and high (second half) bands.
    void (*rowGroups)(double* x, int stride, int groups, int width, const double* g0,
                      const double* g1, int K, double* work);
    // Rebuilds one contiguous line of 2n samples into `to` from its low and
    // high bands of n samples each, without scratch.  `to` may start where
    // the low band starts (a line rebuilt over its own low band); it overlaps
    // the high band nowhere.
    void (*line)(const double* low, const double* high, double* to, int n, const double* g0,
                 const double* g1, int K);
    // Rebuilds one level of an R x C block (both even, at least 2), columns
    // then rows, reading it from `from` and writing it to x (columns stride
    // apart); work holds synthesisLevelWork(R, K).  x overlaps the rest
    // nowhere, and the quarter at most as x's own columns C/2 .. C - 1 (same
    // stride): the quarter's column l is read before x's column C/2 + l is
    // written.
    void (*level)(Block from, double* x, int stride, int R, int C, const double* g0,
                  const double* g1, int K, double* work);
};

// Where a circular filter's wrap goes: after the line (each output combines its
// own sample and the K - 1 that follow) or before it (the K - 1 that precede).
enum class Wrap { After, Before };

struct CircularKernels {
    int groupRows;
    // Filters `groups` groups of groupRows rows of n samples in place.
    void (*rowGroups)(double* x, int stride, int groups, int n, const double* taps, int K,
                      Wrap wrap, double* work);
    // Filters one contiguous line of n samples from src into dst (distinct).
    void (*line)(const double* src, double* dst, int n, const double* taps, int K, Wrap wrap,
                 double* work);
    // Filters a whole matrix with cols >= K and cols > 1, columns (when rows > 1)
    // then rows, from input into output; work holds (K - 1) * rows + rows + K.
    void (*matrix)(const double* input, double* output, int rows, int cols,
                   const double* columnTaps, const double* rowTaps, int K, Wrap wrap,
                   double* work);
};

// Scratch the kernels need: a row-group kernel (groupRows rows of up to
// `rowLength` samples plus K of extension), or a line kernel (two buffers of
// up to `lineLength` / 2 + K + 2 samples), whichever is larger.  (Internal
// linkage: this header is compiled under several instruction sets.)
namespace {
inline std::int64_t workLength(int groupRows, std::int64_t rowLength, std::int64_t lineLength,
                               std::int64_t K) {
    const std::int64_t rows = rowLength > 0 ? (rowLength + K + 2) * groupRows : 0;
    const std::int64_t lines = 2 * (lineLength / 2 + K + 2);
    return rows > lines ? rows : lines;
}

// Scratch of the synthesis level kernel: a window of 2(P - 1 + a batch)
// columns and the 2(P - 1) columns the periodic prefix reads, each R
// samples and a cache line of padding.
constexpr int kSynthesisBatch = 8;  // output column pairs the level kernel rebuilds at once
inline std::int64_t synthesisWindowColumn(std::int64_t R) { return R + 8; }
inline std::int64_t synthesisLevelWork(std::int64_t R, std::int64_t K) {
    return 2 * (K + kSynthesisBatch) * synthesisWindowColumn(R);
}
}  // namespace

#define FAST_DECLARE_KERNELS(isa)                \
    namespace isa {                              \
    AnalysisKernels analysisKernels();           \
    SynthesisKernels synthesisKernels();         \
    CircularKernels circularKernels();           \
    }
FAST_DECLARE_KERNELS(baseline)
FAST_DECLARE_KERNELS(avx2)
FAST_DECLARE_KERNELS(avx512)
#undef FAST_DECLARE_KERNELS

}  // namespace fast
