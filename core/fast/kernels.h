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
    // Output columns the level kernel's row pass sums at once.
    int levelColumns;
    // Splits `groups` groups of groupRows rows, each `width` samples (even)
    // `stride` apart starting at src, into low then high halves written to dst
    // (which may be src).
    void (*rowGroups)(const double* src, double* dst, int stride, int groups, int width,
                      const double* h0, const double* h1, int K, double* work);
    // One level of one contiguous line of n samples (any n >= 2): the n / 2
    // low values go to `low`, the n / 2 high values to `high`; neither may
    // overlap src.  work holds analysisLineWork(K).
    void (*line)(const double* src, int n, double* low, double* high, const double* h0,
                 const double* h1, int K, double* work);
    // Every one of `levels` levels of one contiguous signal of n samples
    // (levels at most the number of halvings that leave more than one
    // sample), from input into output (no overlap), in one pass over the
    // input: each level's low band streams into the next level a chunk at a
    // time.  work holds analysisSignalWork(n, levels, K).
    void (*signal)(const double* input, int n, int levels, double* output, const double* h0,
                   const double* h1, int K, double* work);
    // One level of a v x w block (both even, at least 2), out of place: reads
    // the block from src (columns srcStride apart), writes rows then columns
    // split into dst (columns dstStride apart).  work holds
    // analysisLevelWork(v, K, levelColumns).
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
    // Every one of `levels` levels (at least 2) of one contiguous signal, from
    // input into output (no overlap), in one pass over the input: the first
    // level rebuilds the block of C samples (C / 2 at least
    // synthesisSignalBand(K)), and each level's result streams into the next
    // a chunk at a time.  Writes the first C * 2^(levels - 1) samples of
    // output; work holds synthesisSignalWork(levels, K).
    void (*signal)(const double* input, int C, int levels, double* output, const double* g0,
                   const double* g1, int K, double* work);
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
    // Filters `groups` groups of groupRows rows of n samples in place; work
    // holds groupRows * (n + K - 1).
    void (*rowGroups)(double* x, int stride, int groups, int n, const double* taps, int K,
                      Wrap wrap, double* work);
    // Filters one contiguous line of n samples from src into dst, which may be
    // src itself; work holds circularEdgeLength(n, K).
    void (*line)(const double* src, double* dst, int n, const double* taps, int K, Wrap wrap,
                 double* work);
    // Filters a whole matrix with rows > 1 and cols >= K, columns then rows,
    // from input into output, which may be input itself; work holds
    // (K - 1) * rows + circularEdgeLength(rows, K).
    void (*matrix)(const double* input, double* output, int rows, int cols,
                   const double* columnTaps, const double* rowTaps, int K, Wrap wrap,
                   double* work);
};

// Scratch of a row-group kernel: groupRows rows of up to `rowLength` samples
// plus K of extension.  (Internal linkage: this header is compiled under
// several instruction sets.)
namespace {
inline std::int64_t rowGroupWork(int groupRows, std::int64_t rowLength, std::int64_t K) {
    return (rowLength + K + 2) * groupRows;
}

// The most outputs a circular kernel sums at once (four vectors of 8).
constexpr int kMaxCircularBlock = 32;

// Scratch of the circular line kernel: the part of a line of n samples its
// outputs that reach into the wrap (at most K - 1) and those left over after
// the last whole block of the rest read, padded to whole blocks, and their
// sums; the other outputs read the line where it is.
inline std::int64_t circularEdgeLength(std::int64_t n, std::int64_t K) {
    const std::int64_t wrapped = n < K - 1 ? n : K - 1;
    return 2 * (wrapped + 2 * kMaxCircularBlock) + K;
}

// Scratch of the synthesis level kernel: a window of 2(P - 1 + a batch)
// columns and the 2(P - 1) columns the periodic prefix reads, each R
// samples and a cache line of padding.
constexpr int kSynthesisBatch = 8;  // output column pairs the level kernel rebuilds at once
inline std::int64_t synthesisWindowColumn(std::int64_t R) { return R + 8; }
inline std::int64_t synthesisLevelWork(std::int64_t R, std::int64_t K) {
    return 2 * (K + kSynthesisBatch) * synthesisWindowColumn(R);
}

// The synthesis signal kernel rebuilds every level a chunk of outputs at a
// time.  Between two levels it keeps the part of the coarser result the
// finer level still reads (a chunk it reads, the P - 1 samples before it and
// the two chunks formed for it) and the end of the coarser result, which
// the finer level's first outputs read across the wrap (at most 2P + 1
// samples; see the kernel).  Its first level's bands must be long enough
// that the outputs forming those ends do not wrap themselves.
constexpr int kSynthesisChunk = 1024;  // outputs a level forms at once, at most
inline std::int64_t synthesisSignalBand(std::int64_t K) { return K + 32; }
inline std::int64_t synthesisSignalWork(int levels, std::int64_t K) {
    const std::int64_t P = K / 2;
    const std::int64_t window = P + 3 * kSynthesisChunk + 2;
    const std::int64_t end = 2 * P + 2;
    return (levels - 1) * (window + end);
}

// The analysis line kernels work through a line a chunk of outputs at a time:
// the even and odd samples one chunk reads, split apart.  The signal kernel
// takes longer chunks: fewer, longer runs through the sums (1 x 2^16 and
// 1 x 2^20: 0.9x the time of chunks of 512).
constexpr int kAnalysisChunk = 512;
constexpr int kAnalysisSignalChunk = 2048;
inline std::int64_t analysisSplitWork(std::int64_t chunk, std::int64_t K) {
    return 2 * (chunk + K / 2 + 1);
}
inline std::int64_t analysisLineWork(std::int64_t K) { return analysisSplitWork(kAnalysisChunk, K); }

// Between two levels of a signal: the samples of the low band not yet read
// by the next level (fewer than two chunks and a filter's span, plus the chunk
// being added: the rest is room, so that what is left is moved to the front
// only now and then), and its first samples, which the periodic wrap reads last.
inline std::int64_t analysisWindowLength(std::int64_t m, std::int64_t K) {
    const std::int64_t bound = 8 * kAnalysisSignalChunk + K + 2;
    return m < bound ? m : bound;
}
inline std::int64_t analysisHeadLength(std::int64_t m, std::int64_t K) {
    return m < K + 1 ? m : K + 1;
}
// The split chunk's even and odd samples and the windows between levels,
// each no longer than its level.
inline std::int64_t analysisSignalWork(std::int64_t n, int levels, std::int64_t K) {
    std::int64_t total = analysisSplitWork(kAnalysisSignalChunk, K);
    for (int level = 1; level < levels; ++level) {
        n /= 2;
        total += analysisWindowLength(n, K) + analysisHeadLength(n, K);
    }
    return total;
}

// The analysis level kernel: the low and high columns of the `columns`
// output columns its row pass sums at once (AnalysisKernels::levelColumns),
// and the line kernel's work.
inline std::int64_t analysisLevelWork(std::int64_t v, std::int64_t K, int columns) {
    return 2 * columns * v + analysisLineWork(K);
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
