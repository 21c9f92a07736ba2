// The analysis core: worked examples, edge cases, exact rounding, and random
// inputs against the straightforward oracle.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/dwt.h"
#include "core/fast/isa.h"
#include "oracle.h"
#include "test_support.h"

using support::sameBits;

namespace {

struct Bands {
    std::vector<double> low, high;
};

Bands step(std::vector<double> line, const std::vector<double>& h0, const std::vector<double>& h1) {
    const int n = static_cast<int>(line.size());
    const int p = static_cast<int>(h0.size()) - 1;
    line.resize(line.size() + (p > 0 ? p : 0));
    Bands b{std::vector<double>((n + 1) / 2), std::vector<double>((n + 1) / 2)};
    wavelet::filterANDdownsample(line.data(), n, h0.data(), h1.data(), p, b.low.data(),
                                 b.high.data());
    return b;
}

std::vector<double> transform(const std::vector<double>& x, int M, int N,
                              const std::vector<double>& h0, const std::vector<double>& h1,
                              int levels) {
    std::vector<double> y(x.size(), -99.0);
    EXPECT_TRUE(wavelet::dwt(x.data(), M, N, h0.data(), h1.data(), static_cast<int>(h0.size()),
                             levels, y.data()));
    return y;
}

const std::vector<double> kAverage{0.5, 0.5};
const std::vector<double> kDifference{0.5, -0.5};

}  // namespace

TEST(AnalysisStep, WorkedExamplesOnTheLineOneToFour) {
    const std::vector<double> line{1, 2, 3, 4};
    EXPECT_TRUE(sameBits(step(line, {10, 1}, {10, 1}).low, {21, 43}));
    EXPECT_TRUE(sameBits(step(line, {100, 10, 1}, {100, 10, 1}).low, {321, 143}));
    const Bands haar = step(line, kAverage, kDifference);
    EXPECT_TRUE(sameBits(haar.low, {1.5, 3.5}));
    EXPECT_TRUE(sameBits(haar.high, {0.5, 0.5}));
}

TEST(AnalysisStep, ExtensionRepeatsALineShorterThanTheFilter) {
    // Two samples, eight taps: the extension is s0 s1 s0 s1 ..., and each band
    // value is a sum of eight products.
    const std::vector<double> ones(8, 1.0);
    EXPECT_TRUE(sameBits(step({5, 7}, ones, ones).low, {48}));
    std::vector<double> ramp = support::iota(8, 1.0);
    // low[0] = sum over j of line[j] * h[7 - j] with line 5 7 5 7 5 7 5 7.
    EXPECT_TRUE(sameBits(step({5, 7}, ramp, ramp).low,
                         {5 * 8 + 7 * 7 + 5 * 6 + 7 * 5 + 5 * 4 + 7 * 3 + 5 * 2 + 7 * 1}));
}

TEST(AnalysisStep, OddLinesAndOddFilters) {
    // Odd n: ceil(n/2) values, the last pair taken at i = n - 1 with wrap.
    const Bands odd = step({1, 2, 3, 4, 5}, {10, 1}, {1, 0});
    EXPECT_TRUE(sameBits(odd.low, {1 + 20, 3 + 40, 5 + 10}));
    EXPECT_TRUE(sameBits(odd.high, {2, 4, 1}));
    // Three taps keep positions 2, 4, ... : low[k] = x[2k]*h2 + x[2k+1]*h1 + x[2k+2]*h0.
    EXPECT_TRUE(sameBits(step({1, 2, 3, 4, 5, 6}, {0, 0, 1}, {1, 0, 0}).low, {1, 3, 5}));
    EXPECT_TRUE(sameBits(step({1, 2, 3, 4, 5, 6}, {0, 0, 1}, {1, 0, 0}).high, {3, 5, 1}));
}

TEST(AnalysisStep, NoTapsGiveZeroAndSumsStartAtPositiveZero) {
    const Bands none = step({1, 2, 3, 4}, {}, {});
    EXPECT_TRUE(sameBits(none.low, {0.0, 0.0}));
    // Every product -0.0: a sum from +0.0 stays +0.0.
    const Bands negZero = step({-0.0, -0.0, -0.0, -0.0}, {1, 1}, {1, 1});
    EXPECT_TRUE(sameBits(negZero.low, {0.0, 0.0}));
}

TEST(AnalysisStep, ProductsAreRoundedBeforeTheyAreAdded) {
    // (1 + 2^-30)(1 - 2^-30) = 1 - 2^-60 rounds to 1, so -1 + 1 = 0 exactly;
    // a fused multiply-add would keep -2^-60.
    const double a = 1.0 + std::ldexp(1.0, -30);
    const double b = 1.0 - std::ldexp(1.0, -30);
    const Bands fused = step({1, a}, {b, -1}, {b, -1});
    EXPECT_TRUE(sameBits(fused.low, {0.0}));
}

TEST(AnalysisStep, SumsRunInAscendingSampleOrder) {
    // 2^53 + 1 rounds back to 2^53, then - 2^53 gives 0; any other order gives 1.
    const double big = std::ldexp(1.0, 53);
    EXPECT_TRUE(sameBits(step({big, 1, -big, 0}, {1, 1, 1}, {1, 1, 1}).low, {0.0, 0.0}));
}

TEST(Dwt, WorkedMatrixExampleOverOneAndTwoLevels) {
    const std::vector<double> x = support::iota(16, 1.0);  // element (r, q) = 1 + r + 4q
    // Rows of the expected matrices, written out and then stored column-major.
    EXPECT_TRUE(sameBits(transform(x, 4, 4, kAverage, kDifference, 1),
                         {3.5, 5.5, 0.5, 0.5, 11.5, 13.5, 0.5, 0.5, 2, 2, 0, 0, 2, 2, 0, 0}));
    EXPECT_TRUE(sameBits(transform(x, 4, 4, kAverage, kDifference, 2),
                         {8.5, 1, 0.5, 0.5, 4, 0, 0.5, 0.5, 2, 2, 0, 0, 2, 2, 0, 0}));
}

TEST(Dwt, RowAndColumnVectorsGiveTheSameValues) {
    const std::vector<double> x = support::iota(8);
    const std::vector<double> want{3.5, 2, 1, 1, 0.5, 0.5, 0.5, 0.5};
    EXPECT_TRUE(sameBits(transform(x, 1, 8, kAverage, kDifference, 3), want));
    EXPECT_TRUE(sameBits(transform(x, 8, 1, kAverage, kDifference, 3), want));
}

TEST(Dwt, SingleTapFilters) {
    EXPECT_TRUE(sameBits(transform({1, 2, 3, 4}, 1, 4, {3}, {-1}, 1), {3, 9, -1, -3}));
}

TEST(Dwt, ZeroLevelsAndOneByOneLeaveTheInput) {
    std::mt19937_64 rng(1);
    const std::vector<double> x = support::randomValues(rng, 12);
    EXPECT_TRUE(sameBits(transform(x, 3, 4, {1, 2, 3}, {4, 5, 6}, 0), x));
    EXPECT_TRUE(sameBits(transform({7.25}, 1, 1, {1, 2}, {3, 4}, 5), {7.25}));
    // Far more levels than the size has: stops once the block is 1 x 1.
    EXPECT_TRUE(sameBits(transform({7.25}, 1, 1, {1, 2}, {3, 4}, 2147483647), {7.25}));
    EXPECT_TRUE(sameBits(transform(support::iota(8), 1, 8, kAverage, kDifference, 2147483647),
                         {3.5, 2, 1, 1, 0.5, 0.5, 0.5, 0.5}));
}

TEST(Dwt, EmptyInputsWriteNothing) {
    std::vector<double> out{-1.0};
    const double h[2] = {1, 1};
    EXPECT_TRUE(wavelet::dwt(nullptr, 0, 5, h, h, 2, 3, out.data()));
    EXPECT_TRUE(wavelet::dwt(nullptr, 4, 0, h, h, 2, 3, out.data()));
    EXPECT_TRUE(sameBits(out, {-1.0}));
    // A host may hand an empty matrix over without any data: no pointer into
    // it may even be formed (found by fuzzing under UBSan).
    EXPECT_TRUE(wavelet::dwt(nullptr, 2, 0, h, h, 2, 1, nullptr));
    EXPECT_TRUE(wavelet::dwt(nullptr, 0, 2, h, h, 2, 1, nullptr));
}

TEST(Dwt, MatchesTheOracleOnRandomInputs) {
    std::mt19937_64 rng(20261208);
    struct Shape { int M, N, levels; };
    const Shape shapes[] = {{8, 8, 3}, {16, 4, 2}, {4, 32, 2}, {1, 64, 6}, {64, 1, 5},
                            {2, 2, 1}, {12, 20, 2}, {6, 10, 1}, {32, 32, 5}, {1, 1, 3},
                            // Not divisible: lines of odd length keep their last sample.
                            {5, 7, 2}, {1, 9, 3}, {9, 1, 2}, {3, 8, 2}};
    for (const Shape& s : shapes) {
        for (int K : {1, 2, 3, 4, 7, 8, 13, 20}) {
            const auto x = support::randomValues(rng, static_cast<std::size_t>(s.M) * s.N);
            const auto h0 = support::randomValues(rng, K);
            const auto h1 = support::randomValues(rng, K);
            SCOPED_TRACE(::testing::Message() << s.M << "x" << s.N << " L=" << s.levels << " K=" << K);
            EXPECT_TRUE(sameBits(transform(x, s.M, s.N, h0, h1, s.levels),
                                 oracle::dwt(x, s.M, s.N, h0.data(), h1.data(), K, s.levels)));
        }
    }
}

TEST(Dwt, LongSignalsWithOddLevelLengthsMatchTheReference) {
    // Lengths that turn odd at some levels (49381 -> 24690 -> 12345 -> 6172
    // -> 3086 -> 1543 ..., 65558 -> 32779 -> 16389 -> 8194 -> 4097 -> 2048),
    // long enough that the first levels run in several chunks, down to
    // levels shorter than the filter.  Filters of 18 taps are the longest
    // whose samples the eight-lane kernel shifts through registers; 19 and
    // 41 load every tap.
    std::mt19937_64 rng(11);
    for (const int n : {49381, 65558}) {
        for (const int K : {1, 2, 8, 9, 18, 19, 41}) {
            const auto x = support::randomValues(rng, n);
            const auto h0 = support::randomValues(rng, K);
            const auto h1 = support::randomValues(rng, K);
            const int levels = 12;
            std::vector<double> want(n);
            ASSERT_TRUE(wavelet::dwtReference(x.data(), 1, n, h0.data(), h1.data(), K, levels,
                                              want.data()));
            for (const fast::Isa isa : support::everySet()) {
                for (const bool row : {true, false}) {
                    std::vector<double> got(n, -1.0);
                    ASSERT_TRUE(wavelet::dwtUsing(isa, x.data(), row ? 1 : n, row ? n : 1,
                                                  h0.data(), h1.data(), K, levels, got.data()));
                    EXPECT_TRUE(sameBits(got, want)) << "isa " << static_cast<int>(isa) << " n="
                                                     << n << " K=" << K << " row " << row;
                }
            }
        }
    }
}

TEST(Dwt, SignalsLargerThanTheCachesMatchTheReference) {
    // 2^20 + 6 samples (8 MiB, its second level odd): the fast kernels
    // write such outputs around the caches, from an array of any alignment,
    // with the filters they split in registers (8 taps) and those they
    // read from split copies (20).
    std::mt19937_64 rng(12);
    const int n = (1 << 20) + 6;
    const auto x = support::randomValues(rng, n);
    std::vector<double> want(n);
    std::vector<double> got(n + 1);
    for (const int K : {8, 20}) {
        const auto h0 = support::randomValues(rng, K);
        const auto h1 = support::randomValues(rng, K);
        ASSERT_TRUE(wavelet::dwtReference(x.data(), 1, n, h0.data(), h1.data(), K, 3, want.data()));
        for (const fast::Isa isa : support::everySet()) {
            for (const int offset : {0, 1}) {
                ASSERT_TRUE(wavelet::dwtUsing(isa, x.data(), n, 1, h0.data(), h1.data(), K, 3,
                                              got.data() + offset));
                EXPECT_TRUE(sameBits(std::vector<double>(got.begin() + offset,
                                                         got.begin() + offset + n),
                                     want))
                    << "isa " << static_cast<int>(isa) << " K " << K << " offset " << offset;
            }
        }
    }
}

TEST(Dwt, TheOutputMayBeTheInputItself) {
    // Every path: signals, matrices that split evenly (read from a copy), odd
    // sides and row groups (split in place), with every instruction set.
    std::mt19937_64 rng(12);
    struct Shape { int M, N, levels; };
    const Shape shapes[] = {{1, 3000, 4}, {3001, 1, 3}, {64, 64, 3}, {65, 40, 2}, {40, 33, 2}};
    for (const Shape& s : shapes) {
        for (const int K : {2, 8, 13}) {
            const auto x = support::randomValues(rng, static_cast<std::size_t>(s.M) * s.N);
            const auto h0 = support::randomValues(rng, K);
            const auto h1 = support::randomValues(rng, K);
            std::vector<double> want(x.size());
            ASSERT_TRUE(wavelet::dwtReference(x.data(), s.M, s.N, h0.data(), h1.data(), K,
                                              s.levels, want.data()));
            for (const fast::Isa isa : support::everySet()) {
                std::vector<double> inout = x;
                ASSERT_TRUE(wavelet::dwtUsing(isa, inout.data(), s.M, s.N, h0.data(), h1.data(),
                                              K, s.levels, inout.data()));
                EXPECT_TRUE(sameBits(inout, want)) << "isa " << static_cast<int>(isa) << " "
                                                   << s.M << "x" << s.N << " K=" << K;
            }
        }
    }
}
