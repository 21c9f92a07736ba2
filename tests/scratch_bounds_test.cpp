// How much scratch each core holds at its peak, counted by the test allocator:
// a call that only copies holds none, and no call holds more than one output
// plus a few lines' worth, whatever the filter length or the number of lines.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/cyclic_merge.h"
#include "core/cyclic_split.h"
#include "core/dwt.h"
#include "core/idwt.h"
#include "failing_allocator.h"

namespace {

// The peak scratch, in doubles, of one call, which must succeed.
template <typename Call>
std::int64_t peakOf(Call call) {
    failing_allocator::failRequest(-1);
    EXPECT_TRUE(call());
    EXPECT_EQ(failing_allocator::live(), 0);
    return failing_allocator::peakDoubles();
}

// The build without the fast kernels runs the straightforward cores, which
// hold a few lines of the longer side (a line with its extension, and its two
// bands or its result) beyond what the kernels hold.
std::int64_t straightforwardLines(std::int64_t M, std::int64_t N, std::int64_t K) {
    return PLUGINS_FAST_KERNELS ? 0 : 3 * (M > N ? M : N) + K;
}

}  // namespace

// -- analysis --

TEST(ScratchBounds, AnalysisCopyOnlyCallsHoldNone) {
    const std::vector<double> x(64 * 64, 1.0), h(20, 0.5);
    std::vector<double> y(x.size());
    for (fast::Isa isa : {fast::Isa::Reference, fast::best()}) {
        EXPECT_EQ(peakOf([&] { return wavelet::dwtUsing(isa, x.data(), 64, 64, h.data(), h.data(), 20, 0, y.data()); }), 0);
        EXPECT_EQ(peakOf([&] { return wavelet::dwtUsing(isa, x.data(), 1, 1, h.data(), h.data(), 20, 9, y.data()); }), 0);
    }
}

TEST(ScratchBounds, AnalysisHoldsAtMostOneOutputWhateverTheShape) {
    struct Case { int M, N, K, levels; bool inPlace; };
    // A wide matrix with a long filter (once 20 rows' worth of the whole
    // width per call), signals both ways, squares, odd sides, in place.
    const Case cases[] = {{2, 1 << 20, 20, 1, false}, {1, 1 << 20, 8, 3, false},
                          {1 << 18, 1, 41, 12, false}, {1024, 1024, 8, 3, false},
                          {333, 97, 20, 3, false}, {96, 4001, 9, 4, false},
                          {1, 1 << 18, 8, 5, true}, {512, 512, 8, 3, true}};
    for (const Case& c : cases) {
        const std::int64_t count = static_cast<std::int64_t>(c.M) * c.N;
        std::vector<double> x(count, 0.25), y(count);
        const std::vector<double> h(c.K, 0.5);
        double* out = c.inPlace ? x.data() : y.data();
        const std::int64_t peak = peakOf([&] {
            return wavelet::dwt(x.data(), c.M, c.N, h.data(), h.data(), c.K, c.levels, out);
        });
        // One output, plus a few lines' worth when the input is the output.
        const std::int64_t lines = (c.inPlace ? 8 * (std::int64_t{c.M} + c.N + c.K) : 0) +
                                   straightforwardLines(c.M, c.N, c.K);
        EXPECT_LE(peak, count + lines) << c.M << "x" << c.N << " K=" << c.K << " L=" << c.levels;
    }
}

// -- synthesis --

// Calls whose levels rebuild nothing, or only write zeros, hold no scratch:
// no level, however long the filter, a 1 x 1 block, no tap pair.
TEST(SynthesisScratch, CopyOnlyCallsHoldNone) {
    const int M = 1 << 20, N = 2;
    const std::vector<double> input(static_cast<std::size_t>(M) * N, 0.5);
    std::vector<double> output(input.size());
    for (int K : {512, 20}) {
        const std::vector<double> g(K, 0.25);
        EXPECT_EQ(peakOf([&] {
                      return wavelet::idwt(output.data(), M, N, g.data(), g.data(), K, 0,
                                           input.data());
                  }),
                  0)
            << "K=" << K;
    }
    const std::vector<double> g(8, 0.25);
    EXPECT_EQ(peakOf([&] {
                  return wavelet::idwt(output.data(), 1, 1, g.data(), g.data(), 8, 1, input.data());
              }),
              0);
    EXPECT_EQ(peakOf([&] {
                  return wavelet::idwt(output.data(), 64, 64, g.data(), g.data(), 1, 3, input.data());
              }),
              0);
}

// Rebuilding holds at most one output plus a few lines of the widest vector
// (8 lanes), whatever the filter length or the number of lines: tall and wide
// pairs of lines, a long filter, vectors (which hold no line), a square, and
// a square rebuilt over its own input.
TEST(SynthesisScratch, RebuildingHoldsAtMostOneOutputPlusAFewLines) {
    struct Case {
        int M, N, K, levels;
        bool inPlace;
    };
    const Case cases[] = {{1 << 20, 2, 20, 1, false}, {2, 1 << 20, 20, 1, false},
                          {4096, 2, 512, 1, false},   {1, 1 << 20, 8, 3, false},
                          {1 << 20, 1, 8, 3, true},   {1024, 1024, 8, 3, false},
                          {1024, 1024, 8, 3, true}};
    for (const Case& c : cases) {
        const std::int64_t count = static_cast<std::int64_t>(c.M) * c.N;
        const std::vector<double> input(static_cast<std::size_t>(count), 0.5);
        std::vector<double> output(input);
        const std::vector<double> g(c.K, 0.25);
        const std::int64_t peak = peakOf([&] {
            return wavelet::idwt(output.data(), c.M, c.N, g.data(), g.data(), c.K, c.levels,
                                 c.inPlace ? output.data() : input.data());
        });
        const bool vector = c.M == 1 || c.N == 1;
        const std::int64_t extra = straightforwardLines(c.M, c.N, c.K);
        EXPECT_LE(peak, (vector ? count / 2 : count) + 8 * (c.M + c.N + c.K) + extra)
            << c.M << "x" << c.N << " K=" << c.K << " L=" << c.levels;
        // A vector holds no line, only a window of a few thousand samples
        // per level, however long it is.
        if (vector && !c.inPlace) {
            EXPECT_LE(peak, extra + c.levels * (8 * c.K + 4096)) << c.M << "x" << c.N;
        }
    }
}

// -- circular filters --

namespace {

using CircularFilter = bool (*)(const double*, double*, int, int, const double*, const double*,
                                int);
const CircularFilter kCircularFilters[] = {cyclic_split::filterColumnsANDrows,
                                           cyclic_merge::filterColumnsANDrows};

std::int64_t circularPeak(CircularFilter f, int rows, int cols, int K) {
    const std::vector<double> x(static_cast<std::size_t>(rows) * cols, 1.0), taps(K, 0.5);
    std::vector<double> y(x.size());
    return peakOf([&] { return f(x.data(), y.data(), rows, cols, taps.data(), taps.data(), K); });
}

}  // namespace

TEST(CircularScratch, CopyOnlyCallsTakeNone) {
    for (CircularFilter f : kCircularFilters) {
        EXPECT_EQ(circularPeak(f, 1, 1, 8), 0);
        EXPECT_EQ(circularPeak(f, 0, 7, 8), 0);
        EXPECT_EQ(circularPeak(f, 7, 0, 8), 0);
    }
}

// Vectors read their line where it is; a matrix with one short side takes a
// few vectors' worth of its short lines; a long filter over many lines takes
// no K lines' worth.  64 doubles per sample of a line covers every
// instruction set's group of rows.
TEST(CircularScratch, StaysWithinAFewVectorsOfLines) {
    struct Case { int rows, cols, K; };
    const Case cases[] = {{1, 1 << 20, 8}, {1 << 20, 1, 8}, {2, 1 << 20, 8}, {1 << 20, 2, 8},
                          {4096, 200, 100}, {200, 4096, 100}};
    for (CircularFilter f : kCircularFilters) {
        for (const Case& c : cases) {
            const int shortSide = c.rows < c.cols ? c.rows : c.cols;
            const std::int64_t bound = c.rows > 2 && c.cols > 2
                                           ? 64 * (std::int64_t{c.rows} + c.cols + c.K)
                                           : 64 * (std::int64_t{shortSide} + c.K);
            EXPECT_LE(circularPeak(f, c.rows, c.cols, c.K),
                      bound + straightforwardLines(c.rows, c.cols, c.K))
                << c.rows << "x" << c.cols << " K=" << c.K;
        }
    }
}
