// The two circular filter cores: worked examples, exact rounding, passes that
// must not run, and random inputs against the straightforward oracle.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/cyclic_merge.h"
#include "core/cyclic_split.h"
#include "oracle.h"
#include "test_support.h"

using support::sameBits;

namespace {

using Conv = void (*)(double*, int, const double*, int, double*);
using Filter = bool (*)(const double*, double*, int, int, const double*, const double*, int);

// Runs `conv` on a line; the scratch line is returned with the wrap written.
struct ConvRun {
    std::vector<double> scratch, result;
};

ConvRun splitConv(const std::vector<double>& x, const std::vector<double>& h) {
    const int n = static_cast<int>(x.size()), K = static_cast<int>(h.size());
    ConvRun run{x, std::vector<double>(x.size())};
    run.scratch.resize(x.size() + K - 1, -99.0);
    cyclic_split::conv(run.scratch.data(), n, h.data(), K, run.result.data());
    return run;
}

ConvRun mergeConv(const std::vector<double>& x, const std::vector<double>& h) {
    const int n = static_cast<int>(x.size()), K = static_cast<int>(h.size());
    ConvRun run{std::vector<double>(K - 1, -99.0), std::vector<double>(x.size())};
    run.scratch.insert(run.scratch.end(), x.begin(), x.end());
    cyclic_merge::conv(run.scratch.data(), n, h.data(), K, run.result.data());
    return run;
}

std::vector<double> filter(Filter f, const std::vector<double>& x, int R, int C,
                           const double* hc, const double* hr, int K) {
    std::vector<double> y(x.size(), -99.0);
    EXPECT_TRUE(f(x.data(), y.data(), R, C, hc, hr, K));
    return y;
}

// Matrices below are written row by row and stored column-major.
std::vector<double> byRows(int R, int C, const std::vector<double>& rows) {
    std::vector<double> m(rows.size());
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) m[r + c * R] = rows[r * C + c];
    return m;
}

// The matrix advanced by `shift` samples along every dimension longer than one.
std::vector<double> advance(const std::vector<double>& m, int R, int C, int shift) {
    std::vector<double> y(m.size());
    const int dr = R > 1 ? shift : 0, dc = C > 1 ? shift : 0;
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) y[r + c * R] = m[oracle::wrap(r + dr, R) + oracle::wrap(c + dc, C) * R];
    return y;
}

struct Core {
    const char* name;
    Filter filter;
    bool appendsWrap;  // the wrap follows the line: outputs lead by K - 1 samples
};
const Core kCores[] = {{"cyclic_split", cyclic_split::filterColumnsANDrows, true},
                       {"cyclic_merge", cyclic_merge::filterColumnsANDrows, false}};

}  // namespace

TEST(ForwardWrapConv, WorkedExamples) {
    // n = 4, K = 2: one wrap sample, the first of the line, appended.
    const double x0 = 3, x1 = -5, x2 = 7.5, x3 = 0.25, h0 = 1.5, h1 = -2;
    ConvRun run = splitConv({x0, x1, x2, x3}, {h0, h1});
    EXPECT_TRUE(sameBits(run.scratch, {x0, x1, x2, x3, x0}));
    EXPECT_TRUE(sameBits(run.result, {x0 * h1 + x1 * h0, x1 * h1 + x2 * h0, x2 * h1 + x3 * h0,
                                      x3 * h1 + x0 * h0}));

    // n = 2, K = 5: the wrap repeats the line.
    const double a = 3, b = -7;
    const std::vector<double> h{2, 3, 5, 7, 11};
    run = splitConv({a, b}, h);
    EXPECT_TRUE(sameBits(run.scratch, {a, b, a, b, a, b}));
    EXPECT_TRUE(sameBits(run.result, {a * h[4] + b * h[3] + a * h[2] + b * h[1] + a * h[0],
                                      b * h[4] + a * h[3] + b * h[2] + a * h[1] + b * h[0]}));
}

TEST(BackwardWrapConv, WorkedExamples) {
    // n = 4, K = 2: one wrap sample, the last of the line, prepended.
    const double x0 = 3, x1 = -5, x2 = 7.5, x3 = 0.25, h0 = 1.5, h1 = -2;
    ConvRun run = mergeConv({x0, x1, x2, x3}, {h0, h1});
    EXPECT_TRUE(sameBits(run.scratch, {x3, x0, x1, x2, x3}));
    EXPECT_TRUE(sameBits(run.result, {h1 * x3 + h0 * x0, h1 * x0 + h0 * x1, h1 * x1 + h0 * x2,
                                      h1 * x2 + h0 * x3}));

    // n = 2, K = 4: the wrap repeats the line.
    const std::vector<double> h{2, 3, 5, 7};
    run = mergeConv({x0, x1}, h);
    EXPECT_TRUE(sameBits(run.scratch, {x1, x0, x1, x0, x1}));
    EXPECT_TRUE(sameBits(run.result, {h[3] * x1 + h[2] * x0 + h[1] * x1 + h[0] * x0,
                                      h[3] * x0 + h[2] * x1 + h[1] * x0 + h[0] * x1}));

    // n = 3, K = 6, with numbers: y0 = 6*10 + 5*100 + 4*1 + 3*10 + 2*100 + 1*1, ...
    run = mergeConv({1, 10, 100}, {1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(sameBits(run.scratch, {10, 100, 1, 10, 100, 1, 10, 100}));
    EXPECT_TRUE(sameBits(run.result, {795, 957, 579}));
}

TEST(ForwardWrapFilter, WorkedMatrixExamples) {
    const std::vector<double> x = byRows(2, 3, {1, 2, 3, 4, 5, 6});
    const double swap[] = {1, 0}, keep[] = {0, 1};
    // Taps (1, 0) take the sample one place further on: the rows exchange, and
    // along the rows every sample moves one place back.
    EXPECT_TRUE(sameBits(filter(cyclic_split::filterColumnsANDrows, x, 2, 3, swap, keep, 2),
                         byRows(2, 3, {4, 5, 6, 1, 2, 3})));
    EXPECT_TRUE(sameBits(filter(cyclic_split::filterColumnsANDrows, x, 2, 3, swap, swap, 2),
                         byRows(2, 3, {5, 6, 4, 2, 3, 1})));

    // A vector is filtered only along its length, with that dimension's taps.
    const double f1[] = {5, 7}, f2[] = {1, 10};
    EXPECT_TRUE(sameBits(filter(cyclic_split::filterColumnsANDrows, {1, 2, 3, 4}, 1, 4, f1, f2, 2),
                         {1 * 10 + 2 * 1, 2 * 10 + 3 * 1, 3 * 10 + 4 * 1, 4 * 10 + 1 * 1}));
    EXPECT_TRUE(sameBits(filter(cyclic_split::filterColumnsANDrows, {1, 2, 3, 4}, 4, 1, f1, f2, 2),
                         {1 * 7 + 2 * 5, 2 * 7 + 3 * 5, 3 * 7 + 4 * 5, 4 * 7 + 1 * 5}));
}

TEST(BackwardWrapFilter, WorkedMatrixExamples) {
    const double hc[] = {1, 10}, hr[] = {0, 1};
    // Columns: y = 10 * previous + own, so rows (41 52 63) and (14 25 36);
    // rows: taps (0, 1) delay every row by one place.
    EXPECT_TRUE(sameBits(filter(cyclic_merge::filterColumnsANDrows,
                                byRows(2, 3, {1, 2, 3, 4, 5, 6}), 2, 3, hc, hr, 2),
                         byRows(2, 3, {63, 41, 52, 36, 14, 25})));
    EXPECT_TRUE(sameBits(filter(cyclic_merge::filterColumnsANDrows, byRows(2, 2, {1, 2, 3, 4}),
                                2, 2, hc, hr, 2),
                         byRows(2, 2, {42, 31, 24, 13})));
    EXPECT_TRUE(sameBits(filter(cyclic_merge::filterColumnsANDrows, {1, 2, 3}, 1, 3, hc, hr, 2),
                         {3, 1, 2}));
    EXPECT_TRUE(sameBits(filter(cyclic_merge::filterColumnsANDrows, {1, 2, 3}, 3, 1, hc, hr, 2),
                         {31, 12, 23}));
}

TEST(CircularConv, ProductsAreRoundedAndSumsRunInTheirOrder) {
    // (1 + 2^-30)(1 - 2^-30) = 1 - 2^-60 rounds to 1, so -1 + a*b is exactly 0;
    // a fused multiply-add would keep -2^-60.  The other sample is b - a = -2^-29.
    const double a = 1.0 + std::ldexp(1.0, -30), b = 1.0 - std::ldexp(1.0, -30);
    const double d = std::ldexp(-1.0, -29);
    EXPECT_TRUE(sameBits(splitConv({1, a}, {b, -1}).result, {0.0, d}));
    EXPECT_TRUE(sameBits(mergeConv({1, a}, {b, -1}).result, {d, 0.0}));

    // 2^53 + 1 rounds back to 2^53: big + 1 - big is 0, any other order gives 1.
    // The forward wrap meets (big, 1, -big) at output 0, the backward at output 2.
    const double big = std::ldexp(1.0, 53);
    const std::vector<double> ones{1, 1, 1};
    EXPECT_TRUE(sameBits(splitConv({big, 1, -big}, ones).result, {0.0, 1.0, 1.0}));
    EXPECT_TRUE(sameBits(mergeConv({big, 1, -big}, ones).result, {1.0, 1.0, 0.0}));

    // Every product -0.0: sums start from +0.0.
    EXPECT_TRUE(sameBits(splitConv({-0.0, -0.0, -0.0}, {1, 1}).result, {0.0, 0.0, 0.0}));
    EXPECT_TRUE(sameBits(mergeConv({-0.0, -0.0, -0.0}, {1, 1}).result, {0.0, 0.0, 0.0}));
}

TEST(CircularFilter, PassesOverOneSampleDoNotRunNorReadTheirTaps) {
    for (const Core& core : kCores) {
        SCOPED_TRACE(core.name);
        const double taps[] = {2, 3};
        // A null tap pointer faults if the pass that does not run reads it.
        EXPECT_TRUE(sameBits(filter(core.filter, {-0.0}, 1, 1, nullptr, nullptr, 2), {-0.0}));
        EXPECT_TRUE(sameBits(filter(core.filter, {1, 4}, 1, 2, nullptr, taps, 2),
                             core.appendsWrap ? std::vector<double>{1 * 3 + 4 * 2, 4 * 3 + 1 * 2}
                                              : std::vector<double>{4 * 3 + 1 * 2, 1 * 3 + 4 * 2}));
        EXPECT_TRUE(sameBits(filter(core.filter, {1, 4}, 2, 1, taps, nullptr, 2),
                             filter(core.filter, {1, 4}, 1, 2, nullptr, taps, 2)));
        // K = 1 scales each filtered dimension by its one tap.
        const double three[] = {3}, five[] = {5};
        EXPECT_TRUE(sameBits(filter(core.filter, {1, 2, 4, 8}, 2, 2, three, five, 1),
                             {15, 30, 60, 120}));

        // Empty matrices: nothing is read or written.
        double out = -1.0;
        EXPECT_TRUE(core.filter(nullptr, &out, 0, 5, nullptr, nullptr, 2));
        EXPECT_TRUE(core.filter(nullptr, &out, 5, 0, nullptr, nullptr, 2));
        EXPECT_TRUE(core.filter(nullptr, &out, 0, 0, nullptr, nullptr, 2));
        EXPECT_TRUE(sameBits({out}, {-1.0}));
    }
}

TEST(CircularFilter, FiltersWithoutTapsZeroEveryFilteredLine) {
    for (const Core& core : kCores) {
        SCOPED_TRACE(core.name);
        for (int K : {0, -1, -2147483647 - 1}) {
            EXPECT_TRUE(sameBits(filter(core.filter, {1, -2, 3, 4, 5, 6}, 2, 3, nullptr, nullptr, K),
                                 std::vector<double>(6, 0.0)));
            EXPECT_TRUE(sameBits(filter(core.filter, {1, -2, 3}, 3, 1, nullptr, nullptr, K),
                                 {0.0, 0.0, 0.0}));
            EXPECT_TRUE(sameBits(filter(core.filter, {-7}, 1, 1, nullptr, nullptr, K), {-7}));
        }
    }
}

TEST(CircularFilter, MatchesTheCircularConvolutionOnRandomInputs) {
    std::mt19937_64 rng(20261209);
    struct Shape { int R, C; };
    const Shape shapes[] = {{2, 2}, {3, 5}, {8, 8}, {7, 1}, {1, 9}, {1, 1},
                            {16, 3}, {2, 11}, {5, 4}, {1, 2}, {2, 1}};
    for (const Shape& s : shapes) {
        // Filters shorter than, as long as, and (K - 1 > n) longer than the lines.
        for (int K : {1, 2, 3, 5, 9, 12, 23}) {
            const auto x = support::randomValues(rng, static_cast<std::size_t>(s.R) * s.C);
            const auto hc = support::randomValues(rng, K);
            const auto hr = support::randomValues(rng, K);
            SCOPED_TRACE(::testing::Message() << s.R << "x" << s.C << " K=" << K);
            const auto want = oracle::circularConvolution2D(x, s.R, s.C, hc.data(), hr.data(), K);
            EXPECT_TRUE(sameBits(filter(cyclic_merge::filterColumnsANDrows, x, s.R, s.C,
                                        hc.data(), hr.data(), K),
                                 want));
            EXPECT_TRUE(sameBits(filter(cyclic_split::filterColumnsANDrows, x, s.R, s.C,
                                        hc.data(), hr.data(), K),
                                 advance(want, s.R, s.C, K - 1)));
        }
    }
}

TEST(CircularFilter, ASingleUnitTapRotatesEveryLine) {
    std::mt19937_64 rng(7);
    const int R = 5, C = 3;
    const auto x = support::randomValues(rng, R * C);
    for (int K : {1, 3, 8}) {
        for (int d = 0; d < K; ++d) {
            std::vector<double> h(K, 0.0);
            h[d] = 1.0;
            SCOPED_TRACE(::testing::Message() << "K=" << K << " d=" << d);
            // Convolution delays by d; the appended wrap leads by K - 1 on top.
            EXPECT_TRUE(sameBits(filter(cyclic_merge::filterColumnsANDrows, x, R, C, h.data(),
                                        h.data(), K),
                                 advance(x, R, C, -d)));
            EXPECT_TRUE(sameBits(filter(cyclic_split::filterColumnsANDrows, x, R, C, h.data(),
                                        h.data(), K),
                                 advance(x, R, C, K - 1 - d)));
        }
    }
}

TEST(CircularFilter, OutputMayBeTheInputItself) {
    using Filter = bool (*)(fast::Isa, const double*, double*, int, int, const double*,
                            const double*, int);
    const Filter filters[] = {cyclic_split::filterColumnsANDrowsUsing,
                              cyclic_merge::filterColumnsANDrowsUsing};
    // Vectors shorter and longer than the filter, matrices wider than the
    // filter, narrower ones with rows past the last group of 32, a filter of
    // more than 33 taps over a wide matrix, and a single sample.
    struct Shape { int R, C; };
    const Shape shapes[] = {{1, 1}, {1, 3}, {3, 1}, {1, 77}, {77, 1}, {40, 12},
                            {67, 5}, {5, 67}, {70, 45}};
    std::mt19937_64 rng(11);
    for (Filter f : filters) {
        for (fast::Isa isa : {fast::Isa::Reference, fast::Isa::Baseline, fast::Isa::Avx2,
                              fast::Isa::Avx512}) {
            if (!fast::supported(isa)) continue;
            for (const Shape& s : shapes) {
                for (int K : {1, 3, 8, 41}) {
                    SCOPED_TRACE(::testing::Message() << "isa " << static_cast<int>(isa) << ", "
                                                      << s.R << "x" << s.C << " K=" << K);
                    const auto x = support::randomValues(rng, static_cast<std::size_t>(s.R) * s.C);
                    const auto hc = support::randomValues(rng, K);
                    const auto hr = support::randomValues(rng, K);
                    std::vector<double> want(x.size()), inPlace = x;
                    ASSERT_TRUE(f(fast::Isa::Reference, x.data(), want.data(), s.R, s.C,
                                  hc.data(), hr.data(), K));
                    ASSERT_TRUE(f(isa, inPlace.data(), inPlace.data(), s.R, s.C, hc.data(),
                                  hr.data(), K));
                    EXPECT_TRUE(sameBits(inPlace, want));
                }
            }
        }
    }
}

TEST(CircularFilter, LinesLargerThanTheCachesMatchTheReference) {
    // 2^20 + 5 samples (8 MiB): the fast kernels write such a line around
    // the caches when it lies apart from its input, from an output of any
    // alignment; and in place.
    using Filter = bool (*)(fast::Isa, const double*, double*, int, int, const double*,
                            const double*, int);
    const Filter filters[] = {cyclic_split::filterColumnsANDrowsUsing,
                              cyclic_merge::filterColumnsANDrowsUsing};
    std::mt19937_64 rng(13);
    const int n = (1 << 20) + 5;
    const int K = 9;
    const auto x = support::randomValues(rng, n);
    const auto h = support::randomValues(rng, K);
    std::vector<double> want(n), got(n + 1);
    for (Filter f : filters) {
        ASSERT_TRUE(f(fast::Isa::Reference, x.data(), want.data(), 1, n, h.data(), h.data(), K));
        for (const fast::Isa isa : support::everySet()) {
            for (const int offset : {0, 1}) {
                ASSERT_TRUE(f(isa, x.data(), got.data() + offset, n, 1, h.data(), h.data(), K));
                EXPECT_TRUE(sameBits(std::vector<double>(got.begin() + offset,
                                                         got.begin() + offset + n),
                                     want))
                    << "isa " << static_cast<int>(isa) << " offset " << offset;
            }
            std::vector<double> inPlace = x;
            ASSERT_TRUE(f(isa, inPlace.data(), inPlace.data(), 1, n, h.data(), h.data(), K));
            EXPECT_TRUE(sameBits(inPlace, want)) << "isa " << static_cast<int>(isa) << " in place";
        }
    }
}
