// The synthesis core: worked examples, edge cases, exact rounding, random
// inputs against the straightforward oracle, and perfect reconstruction of
// the analysis core's pyramids with orthonormal filter pairs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <vector>

#include "core/dwt.h"
#include "core/idwt.h"
#include "oracle.h"
#include "test_support.h"

using support::sameBits;

namespace {

// Runs one synthesis step with the bands placed after their prefix slots;
// `low` and `high` come back holding the buffers as the step left them.
std::vector<double> step(std::vector<double>& low, std::vector<double>& high,
                         const std::vector<double>& g0, const std::vector<double>& g1) {
    const int K = static_cast<int>(g0.size());
    const int prefix = std::max(K / 2 - 1, 0);
    low.insert(low.begin(), prefix, -99.0);
    high.insert(high.begin(), prefix, -99.0);
    const int n = static_cast<int>(low.size()) - prefix;
    std::vector<double> line(2 * static_cast<std::size_t>(n), -77.0);
    wavelet::upsampleANDfilter(line.data(), n, K, g0.data(), g1.data(), low.data(), high.data());
    return line;
}

// The same for bands that the caller does not look at afterwards.
std::vector<double> synthesise(std::vector<double> low, std::vector<double> high,
                               const std::vector<double>& g0, const std::vector<double>& g1) {
    return step(low, high, g0, g1);
}

// K as given, unless left at this default: then the length of g0.
constexpr int kFilterLength = std::numeric_limits<int>::min();

std::vector<double> inverse(const std::vector<double>& y, int M, int N,
                            const std::vector<double>& g0, const std::vector<double>& g1,
                            int levels, int K = kFilterLength) {
    std::vector<double> x(y.size(), -99.0);
    EXPECT_TRUE(wavelet::idwt(x.data(), M, N, g0.data(), g1.data(),
                              K == kFilterLength ? static_cast<int>(g0.size()) : K, levels,
                              y.data()));
    return x;
}

std::vector<double> forward(const std::vector<double>& x, int M, int N,
                            const std::vector<double>& h0, const std::vector<double>& h1,
                            int levels) {
    std::vector<double> y(x.size());
    EXPECT_TRUE(wavelet::dwt(x.data(), M, N, h0.data(), h1.data(), static_cast<int>(h0.size()),
                             levels, y.data()));
    return y;
}

const std::vector<double> kAverage{0.5, 0.5};
const std::vector<double> kDifference{0.5, -0.5};

// Daubechies low-pass filter with 8 taps (4 vanishing moments), by spectral
// factorisation: |m0|^2 = cos^8(w/2) P(sin^2(w/2)) with P(y) = 1 + 4y + 10y^2
// + 20y^3.  Each root y of P gives z^2 - (2 - 4y) z + 1 = 0; the root z inside
// the unit circle goes into h(z) = (1 + z)^4 prod (z - z_k), scaled to sum sqrt(2).
std::vector<double> daubechies8() {
    using cplx = std::complex<double>;
    // The real root of P lies in (-1, 0): bisection, then deflate to a quadratic.
    double a = -1.0, b = 0.0;
    auto P = [](double y) { return ((20.0 * y + 10.0) * y + 4.0) * y + 1.0; };
    for (int i = 0; i < 200; ++i) {
        const double m = 0.5 * (a + b);
        (P(m) < 0.0 ? a : b) = m;
    }
    const double r = 0.5 * (a + b);
    const double qb = 10.0 + 20.0 * r, qc = 4.0 + qb * r;  // 20y^2 + qb y + qc
    const cplx disc = std::sqrt(cplx(qb * qb - 80.0 * qc, 0.0));
    const cplx ys[] = {cplx(r, 0.0), (-qb + disc) / 40.0, (-qb - disc) / 40.0};
    std::vector<cplx> poly{1.0};  // coefficients, ascending powers of z
    auto multiply = [&poly](cplx root) {  // poly *= (z - root)
        std::vector<cplx> next(poly.size() + 1, 0.0);
        for (std::size_t i = 0; i < poly.size(); ++i) {
            next[i + 1] += poly[i];
            next[i] -= root * poly[i];
        }
        poly = next;
    };
    for (const cplx& y : ys) {
        const cplx half = 1.0 - 2.0 * y;
        const cplx s = std::sqrt(half * half - 1.0);
        const cplx z1 = half + s, z2 = half - s;
        multiply(std::abs(z1) < 1.0 ? z1 : z2);
    }
    for (int i = 0; i < 4; ++i) multiply(-1.0);
    std::vector<double> h;
    double sum = 0.0;
    for (const cplx& c : poly) {
        h.push_back(c.real());
        sum += c.real();
    }
    for (double& v : h) v *= std::sqrt(2.0) / sum;
    return h;
}

struct Pair {
    const char* name;
    std::vector<double> h0, h1, g0, g1;
};

// The orthonormal pair of a low-pass filter: h1[m] = (-1)^m h0[K-1-m]; the
// synthesis filters are the analysis filters reversed.
Pair orthonormalPair(const char* name, std::vector<double> h0) {
    const std::size_t K = h0.size();
    std::vector<double> h1(K);
    for (std::size_t m = 0; m < K; ++m) h1[m] = (m % 2 ? -1.0 : 1.0) * h0[K - 1 - m];
    return {name, h0, h1, {h0.rbegin(), h0.rend()}, {h1.rbegin(), h1.rend()}};
}

std::vector<Pair> orthonormalPairs() {
    const double s = 1.0 / std::sqrt(2.0);
    const double r3 = std::sqrt(3.0), d = 4.0 * std::sqrt(2.0);
    return {orthonormalPair("Haar", {s, s}),
            orthonormalPair("D4", {(1 + r3) / d, (3 + r3) / d, (3 - r3) / d, (1 - r3) / d}),
            orthonormalPair("D8", daubechies8())};
}

double largestMagnitude(const std::vector<double>& v) {
    double m = 0.0;
    for (double x : v) m = std::max(m, std::fabs(x));
    return m;
}

}  // namespace

TEST(SynthesisStep, WorkedExampleFillsThePrefixAndInterleavesTheSums) {
    std::vector<double> low{1, 2}, high{10, 20};
    const std::vector<double> line = step(low, high, {1, 2, 3, 4}, {5, 6, 7, 8});
    EXPECT_TRUE(sameBits(line, {197, 230, 175, 208}));
    EXPECT_TRUE(sameBits(low, {2, 1, 2}));
    EXPECT_TRUE(sameBits(high, {20, 10, 20}));
}

TEST(SynthesisStep, OddFiltersIgnoreTheirFirstTap) {
    EXPECT_TRUE(sameBits(synthesise({5, 6}, {7, 8}, {100, 2, 3}, {100, 20, 30}),
                         {150, 225, 172, 258}));
    // Changing tap 0 changes nothing.
    EXPECT_TRUE(sameBits(synthesise({5, 6}, {7, 8}, {-1e300, 2, 3}, {1e300, 20, 30}),
                         {150, 225, 172, 258}));
}

TEST(SynthesisStep, PrefixLongerThanTheBandRepeatsIt) {
    // n = 1, K = 8: the prefix is three copies of the single sample, and each
    // output is the sum over the tap pairs from the highest down.
    std::mt19937_64 rng(8);
    const std::vector<double> g0 = support::randomValues(rng, 8);
    const std::vector<double> g1 = support::randomValues(rng, 8);
    const double lo = 1.75, hi = -3.0625;
    std::vector<double> low{lo}, high{hi};
    const std::vector<double> line = step(low, high, g0, g1);
    const double even = ((((((((0.0 + g0[6] * lo) + g1[6] * hi) + g0[4] * lo) + g1[4] * hi) +
                            g0[2] * lo) + g1[2] * hi) + g0[0] * lo) + g1[0] * hi);
    const double odd = ((((((((0.0 + g0[7] * lo) + g1[7] * hi) + g0[5] * lo) + g1[5] * hi) +
                           g0[3] * lo) + g1[3] * hi) + g0[1] * lo) + g1[1] * hi);
    EXPECT_TRUE(sameBits(line, {even, odd}));
    EXPECT_TRUE(sameBits(low, {lo, lo, lo, lo}));
    EXPECT_TRUE(sameBits(high, {hi, hi, hi, hi}));
}

TEST(SynthesisStep, NoTapPairGivesZerosAndEmptyBandsWriteNothing) {
    for (std::vector<double> g : {std::vector<double>{}, std::vector<double>{5}}) {
        std::vector<double> low{1, 2}, high{3, 4};
        EXPECT_TRUE(sameBits(step(low, high, g, g), {0, 0, 0, 0}));
        EXPECT_TRUE(sameBits(low, {1, 2}));  // nothing before the bands was touched
    }
    std::vector<double> line{-1.0, -1.0};
    double band[2] = {1, 2};
    const double g[4] = {1, 2, 3, 4};
    wavelet::upsampleANDfilter(line.data(), 0, 4, g, g, band, band);
    wavelet::upsampleANDfilter(line.data(), -3, 4, g, g, band, band);
    EXPECT_TRUE(sameBits(line, {-1.0, -1.0}));
}

TEST(SynthesisStep, ProductsAreRoundedAndAddedInTheStatedOrder) {
    // (1 + 2^-30)(1 - 2^-30) = 1 - 2^-60 rounds to 1, so -1 + 1 = 0 exactly; a
    // fused multiply-add would keep -2^-60.
    const double a = 1.0 + std::ldexp(1.0, -30);
    const double b = 1.0 - std::ldexp(1.0, -30);
    EXPECT_TRUE(sameBits(synthesise({-1}, {a}, {1, 1}, {b, b}), {0.0, 0.0}));
    // With unit taps, line[0] adds lo[1], hi[1], lo[0], hi[0] in that order:
    // (2^53 + 1) rounds back to 2^53, then -2^53 gives 0; other orders give 1.
    const double big = std::ldexp(1.0, 53);
    const std::vector<double> ones(4, 1.0);
    EXPECT_EQ(synthesise({-big, big}, {0, 1}, ones, ones)[0], 0.0);
    // Every product -0.0: sums from +0.0 stay +0.0.
    EXPECT_TRUE(sameBits(synthesise({-0.0}, {-0.0}, {1, 1}, {1, 1}), {0.0, 0.0}));
}

TEST(Idwt, WorkedExamples) {
    EXPECT_TRUE(sameBits(inverse({1, 3, 2, 4}, 2, 2, {1, 1}, {1, -1}, 1), {10, -4, -2, 0}));
    const std::vector<double> ramp = support::iota(8);
    const std::vector<double> want{2.625, -1.375, 2.125, -2.875, 3.625, -2.375, 2.625, -4.375};
    EXPECT_TRUE(sameBits(inverse(ramp, 8, 1, kAverage, kDifference, 3), want));
    EXPECT_TRUE(sameBits(inverse(ramp, 1, 8, kAverage, kDifference, 3), want));
    EXPECT_TRUE(sameBits(inverse(support::iota(16), 4, 4, kAverage, kDifference, 2),
                         {5.625, -0.375, 5.625, -1.375, -3.375, 0.625, -4.375, -0.375, 7.5, -2.5,
                          8.75, -2.25, -5.5, -1.5, -5.25, -1.25}));
}

TEST(Idwt, LevelCountsThatChangeNothingLeaveTheInput) {
    std::mt19937_64 rng(3);
    const std::vector<double> y = support::randomValues(rng, 16);
    const std::vector<double> g{1, 2, 3, 4};
    for (int levels : {0, -1, -2147483647 - 1, 4, 5, 1023, 1024, 1025, 2147483647}) {
        SCOPED_TRACE(levels);
        // 2^(L-1) beyond every dimension: the starting block is empty.
        EXPECT_TRUE(sameBits(inverse(y, 4, 4, g, g, levels), y));
        EXPECT_TRUE(sameBits(inverse(y, 1, 16, g, g, levels > 0 && levels < 6 ? 6 : levels), y));
    }
    for (int levels : {2, 3, 1024, 2147483647})
        EXPECT_TRUE(sameBits(inverse({7.25}, 1, 1, g, g, levels), {7.25}));
}

TEST(Idwt, OddSplitsWriteBackOnlyTheRebuiltSamples) {
    // 1 x 1 with one level: both halves are empty, the value stays.
    EXPECT_TRUE(sameBits(inverse({7.25}, 1, 1, {1, 2}, {3, 4}, 1), {7.25}));
    // A line of three: two samples rebuilt, the third kept.
    EXPECT_TRUE(sameBits(inverse({1, 10, 5}, 1, 3, {1, 1}, {1, -1}, 1), {11, -9, 5}));
    EXPECT_TRUE(sameBits(inverse({1, 10, 5}, 3, 1, {1, 1}, {1, -1}, 1), {11, -9, 5}));
    // 3 x 2: the column pass turns columns (1 2 3) and (4 5 6) into (3 -1 3)
    // and (9 -1 6), row 2 kept; the row pass then rebuilds all three rows:
    // (3 9) -> (12 -6), (-1 -1) -> (-2 0), (3 6) -> (9 -3).
    EXPECT_TRUE(sameBits(inverse({1, 2, 3, 4, 5, 6}, 3, 2, {1, 1}, {1, -1}, 1),
                         {12, -2, 9, -6, 0, -3}));
}

TEST(Idwt, NoTapPairZeroesTheRebuiltBlock) {
    std::mt19937_64 rng(4);
    const std::vector<double> y = support::randomValues(rng, 32);
    const std::vector<double> g{9, 9};
    for (int K : {1, 0, -3}) {
        std::vector<double> want(32, 0.0);
        EXPECT_TRUE(sameBits(inverse(y, 4, 8, g, g, 2, K), want)) << "K = " << K;
        EXPECT_TRUE(sameBits(inverse(y, 32, 1, g, g, 5, K), want)) << "K = " << K;
    }
}

TEST(Idwt, EmptyInputsWriteNothing) {
    std::vector<double> out{-1.0};
    const double g[2] = {1, 1};
    EXPECT_TRUE(wavelet::idwt(out.data(), 0, 8, g, g, 2, 3, nullptr));
    EXPECT_TRUE(wavelet::idwt(out.data(), 8, 0, g, g, 2, 3, nullptr));
    EXPECT_TRUE(wavelet::idwt(out.data(), 0, 0, g, g, 2, 1, nullptr));
    EXPECT_TRUE(sameBits(out, {-1.0}));
}

TEST(Idwt, MatchesTheOracleOnRandomInputs) {
    std::mt19937_64 rng(20261209);
    struct Shape { int M, N, levels; };
    const Shape shapes[] = {{8, 8, 3}, {16, 4, 2}, {4, 32, 3}, {1, 64, 6}, {64, 1, 5},
                            {2, 2, 1}, {12, 20, 2}, {6, 10, 1}, {32, 32, 5}, {1, 1, 1},
                            {1, 2, 1}, {2, 1, 1}, {8, 16, 4},
                            // Blocks taller than a strip of rows, wider than a batch of
                            // columns; long vectors.
                            {272, 320, 2}, {1, 20012, 3}, {20012, 1, 4},
                            // Not divisible: odd splits keep their last sample.
                            {5, 7, 1}, {1, 9, 2}, {9, 1, 1}, {6, 8, 2}, {12, 12, 3}};
    for (const Shape& s : shapes) {
        for (int K : {1, 2, 3, 4, 7, 8, 13, 20}) {
            const auto y = support::randomValues(rng, static_cast<std::size_t>(s.M) * s.N);
            const auto g0 = support::randomValues(rng, K);
            const auto g1 = support::randomValues(rng, K);
            SCOPED_TRACE(::testing::Message() << s.M << "x" << s.N << " L=" << s.levels << " K=" << K);
            EXPECT_TRUE(sameBits(inverse(y, s.M, s.N, g0, g1, s.levels),
                                 oracle::idwt(y, s.M, s.N, g0.data(), g1.data(), K, s.levels)));
        }
    }
}

// Long signals rebuild every level in one pass: blocks that start odd,
// lengths that leave samples after the last level's block, levels down to
// bands too short for that pass, chunk boundaries, and filters from one tap
// pair (nothing across the wrap) to the longest the kernels take.
TEST(Idwt, LongSignalsMatchTheReference) {
    std::mt19937_64 rng(13);
    struct Case { int n, K; };
    const Case cases[] = {{12345, 2}, {12345, 8}, {12345, 9}, {16390, 20}, {16390, 41},
                          {4 * 1024 * 3 + 2, 8}, {9000, 3}, {40000, 512}};
    for (const Case& c : cases) {
        const auto y = support::randomValues(rng, c.n);
        const auto g0 = support::randomValues(rng, c.K);
        const auto g1 = support::randomValues(rng, c.K);
        for (const int levels : {2, 3, 5, 9}) {
            std::vector<double> want(c.n);
            ASSERT_TRUE(wavelet::idwtReference(want.data(), 1, c.n, g0.data(), g1.data(), c.K,
                                               levels, y.data()));
            for (const fast::Isa isa : support::everySet()) {
                for (const bool row : {true, false}) {
                    std::vector<double> got(c.n, -1.0);
                    ASSERT_TRUE(wavelet::idwtUsing(isa, got.data(), row ? 1 : c.n, row ? c.n : 1,
                                                   g0.data(), g1.data(), c.K, levels, y.data()));
                    EXPECT_TRUE(sameBits(got, want)) << "isa " << static_cast<int>(isa) << " n="
                                                     << c.n << " K=" << c.K << " L=" << levels
                                                     << " row " << row;
                }
            }
        }
    }
}

TEST(Idwt, SignalsLargerThanTheCachesMatchTheReference) {
    // 2^20 + 6 samples (8 MiB, its first block odd): the fast kernels write
    // such outputs around the caches from the first output that starts a
    // whole vector, or not at all when the output lies between two pairs.
    std::mt19937_64 rng(14);
    const int n = (1 << 20) + 6;
    const int K = 8;
    const auto y = support::randomValues(rng, n);
    const auto g0 = support::randomValues(rng, K);
    const auto g1 = support::randomValues(rng, K);
    std::vector<double> want(n);
    ASSERT_TRUE(wavelet::idwtReference(want.data(), 1, n, g0.data(), g1.data(), K, 3, y.data()));
    std::vector<double> got(n + 2);
    for (const fast::Isa isa : support::everySet()) {
        for (const int offset : {0, 1, 2}) {
            ASSERT_TRUE(wavelet::idwtUsing(isa, got.data() + offset, n, 1, g0.data(), g1.data(),
                                           K, 3, y.data()));
            EXPECT_TRUE(sameBits(std::vector<double>(got.begin() + offset,
                                                     got.begin() + offset + n),
                                 want))
                << "isa " << static_cast<int>(isa) << " offset " << offset;
        }
    }
}

// Rebuilt over its own input, a pyramid comes out as from a separate copy,
// with every instruction set: vectors of both orientations, matrices that
// split evenly at every level, odd ones, and row counts past a group.
TEST(Idwt, RebuildsInPlaceAsFromACopy) {
    const std::vector<fast::Isa> sets = support::everySet();
    std::mt19937_64 rng(20261208);
    struct Shape { int M, N, levels; };
    const Shape shapes[] = {{1, 64, 3}, {96, 1, 2}, {32, 32, 3}, {64, 48, 2},
                            {33, 20, 2}, {40, 8, 1}, {1, 9, 2}, {70, 6, 1}};
    for (const Shape& s : shapes) {
        for (int K : {2, 8, 9, 20}) {
            const auto y = support::randomValues(rng, static_cast<std::size_t>(s.M) * s.N);
            const auto g0 = support::randomValues(rng, K);
            const auto g1 = support::randomValues(rng, K);
            std::vector<double> want(y.size());
            ASSERT_TRUE(wavelet::idwtReference(want.data(), s.M, s.N, g0.data(), g1.data(), K,
                                               s.levels, y.data()));
            for (fast::Isa isa : sets) {
                std::vector<double> got = y;
                ASSERT_TRUE(wavelet::idwtUsing(isa, got.data(), s.M, s.N, g0.data(), g1.data(),
                                               K, s.levels, got.data()));
                EXPECT_TRUE(sameBits(got, want))
                    << "isa " << static_cast<int>(isa) << ", " << s.M << "x" << s.N
                    << ", K=" << K << ", L=" << s.levels;
            }
        }
    }
}

TEST(PerfectReconstruction, LowPassFiltersAreOrthonormal) {
    for (const Pair& p : orthonormalPairs()) {
        SCOPED_TRACE(p.name);
        const int K = static_cast<int>(p.h0.size());
        double sum = 0.0;
        for (double v : p.h0) sum += v;
        EXPECT_NEAR(sum, std::sqrt(2.0), 1e-15);
        for (int shift = 0; shift < K; shift += 2) {
            double dot = 0.0;
            for (int m = 0; m + shift < K; ++m) dot += p.h0[m] * p.h0[m + shift];
            EXPECT_NEAR(dot, shift == 0 ? 1.0 : 0.0, 1e-15) << "shift " << shift;
        }
    }
    // The factorisation lands on the published minimum-phase filter (up to order).
    const std::vector<double> d8 = daubechies8();
    EXPECT_NEAR(std::max(d8.front(), d8.back()), 0.23037781330889, 1e-12);
    EXPECT_NEAR(*std::max_element(d8.begin(), d8.end()), 0.71484657055292, 1e-12);
}

TEST(PerfectReconstruction, AnalysisThenSynthesisRestoresTheInput) {
    std::mt19937_64 rng(77);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    struct Shape { int M, N; };
    const Shape shapes[] = {{16, 16}, {8, 32}, {32, 8}, {1, 64}, {64, 1}, {2, 2}, {24, 40}};
    for (const Pair& p : orthonormalPairs()) {
        for (const Shape& s : shapes) {
            std::vector<double> x(static_cast<std::size_t>(s.M) * s.N);
            for (double& v : x) v = value(rng);
            const double scale = largestMagnitude(x);
            for (int levels = 0;; ++levels) {
                const int limit = 1 << levels;
                if ((s.M > 1 && s.M % limit) || (s.N > 1 && s.N % limit)) break;
                SCOPED_TRACE(::testing::Message() << p.name << " " << s.M << "x" << s.N
                                                  << " L=" << levels);
                const std::vector<double> y = forward(x, s.M, s.N, p.h0, p.h1, levels);
                const std::vector<double> back = inverse(y, s.M, s.N, p.g0, p.g1, levels);
                double worst = 0.0;
                for (std::size_t i = 0; i < x.size(); ++i)
                    worst = std::max(worst, std::fabs(back[i] - x[i]));
                EXPECT_LE(worst, 16 * std::numeric_limits<double>::epsilon() * scale);
                if (levels > 0) {
                    EXPECT_FALSE(sameBits(y, x)) << "the pyramid should differ from the input";
                }
            }
        }
    }
    // The Haar 2 x 2 case in closed form.
    const double s = 1.0 / std::sqrt(2.0);
    const std::vector<double> x{1, 3, 2, 4};
    const std::vector<double> back = inverse(forward(x, 2, 2, {s, s}, {s, -s}, 1), 2, 2,
                                             {s, s}, {-s, s}, 1);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(back[i], x[i], 8e-16 * 4);
}
