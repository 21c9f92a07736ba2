// How much scratch each core holds at its peak, counted by the test allocator:
// a call that only copies holds none, and no call holds more than one output
// plus a few lines' worth, whatever the filter length or the number of lines.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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

}  // namespace

// -- analysis --

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
// pairs of lines, a long filter, vectors (which hold nothing), a square, and
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
        EXPECT_LE(peak, (vector ? count / 2 : count) + 8 * (c.M + c.N + c.K))
            << c.M << "x" << c.N << " K=" << c.K << " L=" << c.levels;
        if (vector && !c.inPlace) EXPECT_EQ(peak, 0) << c.M << "x" << c.N;
    }
}

// -- circular filters --
